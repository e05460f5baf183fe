#include "check/check.h"

#include <system_error>

#include "check/export_side.h"
#include "check/import_side.h"
#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "conversion/saga_file.h"

namespace velquior::check {

Report CheckAll(const std::filesystem::path& file, const std::filesystem::path& work_dir, bool keep_codes) {
  if (!SagaFileExists(file)) throw Error(std::string(msg::kNoExisteArchivo));
  // The export's stricter load: a document it would refuse is not checked.
  const auto doc = LoadSagaFile(file, RootCheck::kSagaRoot);
  std::error_code ec;
  if (!std::filesystem::is_directory(work_dir, ec)) {
    throw Error(Format(msg::kSinDirectorioTrabajo, {PathForMessage(work_dir)}));
  }
  Report report;
  CheckExportSide(*doc, work_dir, report, keep_codes);
  CheckImportSide(*doc, work_dir, report);
  return report;
}

}  // namespace velquior::check
