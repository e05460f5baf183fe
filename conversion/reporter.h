#pragma once
// What a conversion tells whoever started it while it runs. The conversions
// report and never wait for an answer; the base ignores every report.

#include <span>
#include <string>
#include <string_view>

namespace velquior {

// An element of the SAGA document that lacked an item the export reads; the
// export still writes its record (with the empty text for the item).
struct MissingItem {
  std::string_view element;  // "subject", "teacher", ...
  long position;             // 1-based, in document order among its kind
  std::string what;          // UTF-8: "el atributo 'id'", "el primer nodo hijo"
};

// What an export that keeps codes could not keep: a whole table that cannot
// be read (`element` empty, `position` 0), or one element whose identifier
// has a record there but whose code goes to another. Texts are UTF-8.
struct CodeNotKept {
  std::string_view table;    // "PROFT"
  std::string_view element;  // "teacher"; empty for the whole table
  long position = 0;         // 1-based, in document order among its kind
  std::string id, code;      // the identifier and the old code
  std::string why;           // the reason, or the table's error
};

class Reporter {
 public:
  virtual ~Reporter() = default;

  // The document is loaded and the long part of the run begins; EndWork
  // follows in every case, also when the run fails.
  virtual void BeginWork() {}
  virtual void EndWork() {}

  virtual void ReportMissingItem(const MissingItem& /*item*/) {}
  virtual void ReportCodeNotKept(const CodeNotKept& /*not_kept*/) {}
  // The tables now in the work directory, by full name, once all are in place.
  virtual void ReportTablesWritten(std::span<const std::string> /*file_names*/) {}
};

// BeginWork for its lifetime, EndWork at its end, also on an error.
class Working {
 public:
  explicit Working(Reporter& reporter) : reporter_(reporter) { reporter_.BeginWork(); }
  ~Working() { reporter_.EndWork(); }
  Working(const Working&) = delete;
  Working& operator=(const Working&) = delete;

 private:
  Reporter& reporter_;
};

}  // namespace velquior
