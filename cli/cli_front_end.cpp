#include "cli/cli_front_end.h"

#include <ostream>

#include "common/format.h"
#include "common/messages.h"
#include "tables/table.h"

namespace velquior::cli {

std::optional<std::filesystem::path> CliFrontEnd::ChooseXmlFile(const std::filesystem::path&) {
  if (file_.empty()) return std::nullopt;
  std::error_code ec;
  auto absolute = std::filesystem::absolute(file_, ec);
  return ec ? file_ : absolute;
}

void CliFrontEnd::ShowMessage(std::string_view utf8_text) { out_ << utf8_text << '\n' << std::flush; }

void CliFrontEnd::ReportMissingItem(const MissingItem& item) {
  err_ << Format(msg::kAviso,
                 {Format(msg::kElementoIncompleto, {item.element, std::to_string(item.position), item.what})})
       << '\n';
}

void CliFrontEnd::ReportTablesWritten(std::span<const std::string> file_names) {
  for (const auto& name : file_names) {
    std::filesystem::path p(name);
    tables::Table t(p.parent_path(), p.filename().string());
    t.Open();
    out_ << Format(msg::kTablaEscrita, {name, std::to_string(t.RecordCount())}) << '\n';
    t.Close();
  }
}

}  // namespace velquior::cli
