#pragma once
// What the command line shows of a conversion's reports: missing items and
// codes an export could not keep as notices on standard error, the tables written with their record counts on
// standard output. Everything written is UTF-8.

#include <iosfwd>

#include "conversion/reporter.h"

namespace velquior::cli {

class CliReporter : public Reporter {
 public:
  CliReporter(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  void ReportMissingItem(const MissingItem& item) override;
  void ReportCodeNotKept(const CodeNotKept& not_kept) override;
  void ReportTablesWritten(std::span<const std::string> file_names) override;

 private:
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace velquior::cli
