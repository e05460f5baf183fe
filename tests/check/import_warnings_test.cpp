// What velquior-convert import says on standard error after completing:
// which findings, and how their records are named.

#include "cli/import_warnings.h"

#include <gtest/gtest.h>

#include <sstream>

#include "check/kinds.h"

namespace velquior::cli {
namespace {

using check::Finding;
using check::Severity;
using check::Side;
namespace kinds = check::kinds;

Finding With(std::string_view kind, Severity severity, Side side, int records) {
  Finding f{kind, severity, side, "Resumen", {}};
  for (int i = 1; i <= records; ++i) f.records.push_back({"SOLUC", i * 3, "X", "", ""});
  return f;
}

TEST(ImportWarnings, IdentifiersWrittenWrongOneLineEach) {
  struct Case {
    const char* why;
    Finding finding;
    std::string err;
  } cases[] = {
      {"one record", With(kinds::kCodeWithoutRecord, Severity::kWarning, Side::kImport, 1),
       "Aviso: Resumen (SOLUC, n.º 3)\n"},
      {"ten records, all named", With(kinds::kEmptyIdSaga, Severity::kWarning, Side::kImport, 10),
       "Aviso: Resumen (SOLUC, n.º 3, 6, 9, 12, 15, 18, 21, 24, 27, 30)\n"},
      {"beyond ten the rest counted", With(kinds::kUnknownSagaId, Severity::kWarning, Side::kImport, 12),
       "Aviso: Resumen (SOLUC, n.º 3, 6, 9, 12, 15, 18, 21, 24, 27, 30 y 2 más)\n"},
      {"no records: the summary alone", With(kinds::kUnknownSagaId, Severity::kWarning, Side::kImport, 0),
       "Aviso: Resumen\n"},
      {"days and hours stay the check's: a fresh export leaves DIASHORAST empty",
       With(kinds::kHourNotInDays, Severity::kWarning, Side::kImport, 1), ""},
      {"the export side is not the import's", With(kinds::kDuplicateId, Severity::kWarning, Side::kExport, 1), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    check::Report report;
    report.findings.push_back(c.finding);
    std::ostringstream err;
    PrintImportWarnings(report, err);
    EXPECT_EQ(err.str(), c.err);
  }
}

}  // namespace
}  // namespace velquior::cli
