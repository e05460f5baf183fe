#include "check/dry_export.h"

#include <set>
#include <system_error>
#include <tuple>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "conversion/reporter.h"
#include "export/export_driver.h"
#include "platform/file_system.h"
#include "tables/table.h"

namespace velquior::check {
namespace {

// The folder lives only as long as the dry run; the work directory is never
// touched, so a check can run beside the timetabling program.
class PrivateFolder {
 public:
  PrivateFolder() {
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (!ec) ec = platform::MakeUniqueDirectory(temp, "velquior-check-", path_);
    if (ec) throw Error(Format(msg::kCarpetaProvisional, {PathForMessage(temp), ec.message()}));
  }
  ~PrivateFolder() {
    std::error_code ignored;  // a leftover in the system's temporary folder harms nothing
    std::filesystem::remove_all(path_, ignored);
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The assignments builder reads each group's id again: one report per
// element and item is what the user needs.
class CollectMissing : public Reporter {
 public:
  CollectMissing(std::vector<Missing>& out, std::vector<CodeNotKept>& not_kept) : out_(out), not_kept_(not_kept) {}
  void ReportCodeNotKept(const CodeNotKept& not_kept) override { not_kept_.push_back(not_kept); }
  void ReportMissingItem(const MissingItem& item) override {
    if (seen_.emplace(item.element, item.position, item.what).second) {
      out_.push_back({item.element, item.position, item.what});
    }
  }

 private:
  std::vector<Missing>& out_;
  std::vector<CodeNotKept>& not_kept_;
  std::set<std::tuple<std::string_view, long, std::string>> seen_;
};

std::vector<AssignmentRecord> ReadAssignments(const std::filesystem::path& dir) {
  namespace f = catalog::f;
  tables::Table table(dir, catalog::kAsigt.name);
  table.Open();
  std::vector<AssignmentRecord> out;
  for (table.First(); !table.Eof(); table.Next()) {
    out.push_back({table.AsText(f::kCAsig), table.AsText(f::kCProf), table.AsText(f::kCGrup), table.AsText(f::kHoras)});
  }
  table.Close();
  return out;
}

}  // namespace

DryExport RunDryExport(const xml::Document& doc, const KeptCodes* kept) {
  DryExport result;
  PrivateFolder folder;
  CollectMissing reporter(result.missing, result.not_kept);
  BuildExportTables(doc, folder.path(), reporter, kept);
  for (std::size_t i = 0; i < kCatalogues.size(); ++i) {
    result.catalogues[i] = ReadCatalogue(folder.path(), kCatalogues[i]).value();
  }
  result.assignments = ReadAssignments(folder.path());
  return result;
}

}  // namespace velquior::check
