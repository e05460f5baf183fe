#pragma once
// The command line standing in for the window: the chosen file is the one
// named on the command line, messages go to standard output, notices to
// standard error. Everything written is UTF-8.

#include <filesystem>
#include <iosfwd>

#include "export/front_end.h"

namespace velquior::cli {

class CliFrontEnd : public FrontEnd {
 public:
  CliFrontEnd(std::filesystem::path file, std::ostream& out, std::ostream& err)
      : file_(std::move(file)), out_(out), err_(err) {}

  std::optional<std::filesystem::path> ChooseXmlFile(const std::filesystem::path& last) override;
  void ShowMessage(std::string_view utf8_text) override;
  void SetBusyCursor(bool) override {}
  void DisableConversionButtons() override {}
  void CloseMainWindow() override {}
  void ReportMissingItem(const MissingItem& item) override;
  void ReportTablesWritten(std::span<const std::string> file_names) override;

 private:
  std::filesystem::path file_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace velquior::cli
