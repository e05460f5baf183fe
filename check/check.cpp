#include "check/check.h"

#include "check/export_side.h"
#include "check/import_side.h"
#include "common/error.h"
#include "common/messages.h"
#include "conversion/saga_file.h"

namespace velquior::check {

Report CheckAll(const std::filesystem::path& file, const std::filesystem::path& work_dir) {
  if (!SagaFileExists(file)) throw Error(std::string(msg::kNoExisteArchivo));
  // The export's stricter load: a document it would refuse is not checked.
  const auto doc = LoadSagaFile(file, RootCheck::kSagaRoot);
  Report report;
  CheckExportSide(*doc, work_dir, report);
  CheckImportSide(*doc, work_dir, report);
  return report;
}

}  // namespace velquior::check
