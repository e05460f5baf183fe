#include "cli/import_warnings.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "check/import_side.h"
#include "check/kinds.h"
#include "common/error.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior::cli {
namespace {

// Enough numbers to find the records; the rest counted.
constexpr std::size_t kNumbersShown = 10;

std::string RecordNumbers(const check::Finding& finding) {
  std::string numbers;
  const std::size_t shown = std::min(finding.records.size(), kNumbersShown);
  for (std::size_t i = 0; i < shown; ++i) {
    if (i > 0) numbers += ", ";
    numbers += std::to_string(finding.records[i].position);
  }
  if (finding.records.size() > shown) {
    numbers = Format(msg::kChkYMas, {numbers, std::to_string(finding.records.size() - shown)});
  }
  return numbers;
}

// What the import wrote where a SAGA identifier belongs. Days and hours
// stay the check's: the export leaves DIASHORAST empty until the host fills
// it, so they would speak up after every import from fresh tables.
bool WrittenWrong(const check::Finding& finding) {
  namespace k = check::kinds;
  return finding.side == check::Side::kImport &&
         (finding.kind == k::kCodeWithoutRecord || finding.kind == k::kEmptyIdSaga || finding.kind == k::kUnknownSagaId);
}

}  // namespace

void PrintImportWarnings(const check::Report& report, std::ostream& err) {
  for (const check::Finding& finding : report.findings) {
    if (!WrittenWrong(finding)) continue;
    std::string line = finding.summary;
    if (!finding.records.empty()) {
      line = Format(msg::kChkAvisoRegistros, {line, finding.records.front().where, RecordNumbers(finding)});
    }
    err << Format(msg::kAviso, {line}) << '\n';
  }
}

void WarnAfterImport(const xml::Document& document, const std::filesystem::path& work_dir, std::ostream& err) {
  check::Report report;
  try {
    check::CheckImportSide(document, work_dir, report);
  } catch (const Error& e) {
    err << Format(msg::kAviso, {e.message()}) << '\n';
    return;
  }
  PrintImportWarnings(report, err);
}

}  // namespace velquior::cli
