#pragma once
// What `velquior-convert check` finds: each finding once, with the records
// it concerns. The check reads the document and the work directory and
// writes nothing there; front ends render the findings as text or JSON.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velquior::check {

// kError: the conversion would stop. kWarning: it would complete with data
// that is wrong or breaks the timetable. kNote: worth knowing, nothing wrong.
enum class Severity { kNote, kWarning, kError };

// Which conversion a finding is about.
enum class Side { kExport, kImport };

// One element of the document or one record of a table. Texts are UTF-8.
struct Concerned {
  std::string where;  // "subject", "teacher", ... or a table: "SOLUC", "PROFT"
  long position = 0;  // 1-based, in document order among its kind or record number; 0: none
  std::string id;     // SAGA identifier, or the record's code
  std::string name;
  std::string detail;  // what is particular to it: "ASIGT tendrá 'X'", "código 'AB' pasa a 'AB1'"
};

struct Finding {
  // Stable, for scripts: "duplicate_id", "unknown_subject_code", ... (kinds.h)
  std::string_view kind;
  Severity severity = Severity::kNote;
  Side side = Side::kExport;
  std::string summary;  // Spanish, UTF-8: one line for people
  std::vector<Concerned> records;
};

// What the import would write, counted.
struct ImportCounts {
  std::size_t inputs = 0, activities = 0, groups = 0, members = 0;
};

struct Report {
  std::vector<Finding> findings;
  ImportCounts import_counts;
  bool import_checked = false;  // false when the work directory holds no SOLUC
};

// 4 when any finding is an error or a warning, else 0.
int ExitStatusFor(const Report& report);

}  // namespace velquior::check
