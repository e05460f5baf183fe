#include "conversion/saga_file.h"

#include <system_error>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "xml/saga_names.h"

namespace velquior {

bool SagaFileExists(const std::filesystem::path& file) {
  std::error_code ec;
  return !file.empty() && std::filesystem::exists(file, ec);
}

std::unique_ptr<xml::Document> LoadSagaFile(const std::filesystem::path& file, RootCheck check) {
  auto doc = std::make_unique<xml::Document>();
  const xml::LoadResult loaded = doc->load(file);
  const std::string name = PathForMessage(file);
  if (!loaded.ok) {
    throw Error(Format(msg::kXmlNoValido, {name, std::to_string(loaded.line), loaded.reason}));
  }
  auto root = doc->documentElement();
  if (!root) throw Error(Format(msg::kXmlSinElementoRaiz, {name}));
  if (check == RootCheck::kSagaRoot && root->nodeName() != saga::kDocument) {
    throw Error(Format(msg::kXmlRaizIncorrecta, {name, root->nodeName()}));
  }
  return doc;
}

}  // namespace velquior
