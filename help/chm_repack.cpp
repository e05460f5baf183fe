#include "help/chm_repack.h"

#include <chm_lib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "help/compiler_variance.h"
#include "help/context_strings.h"
#include "help/itsf_writer.h"

namespace velquior::help {
namespace {

constexpr const char* kIvb = "/#IVB";
constexpr const char* kStrings = "/#STRINGS";

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), {});
}

const ChmEntry* Find(const std::vector<ChmEntry>& entries, std::string_view name) {
  for (const ChmEntry& e : entries) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

// Objects that the writer makes anew, so never compared with the input.
bool MadeByWriter(std::string_view name) { return name == kLzxContent || name == kLzxResetTable; }

}  // namespace

std::vector<ChmEntry> ReadChmEntries(const std::filesystem::path& path) {
  ::chmFile* h = chm_open(path.c_str());
  if (h == nullptr) throw std::runtime_error("not a compiled help file chmlib can open: " + path.string());
  struct Context {
    std::vector<ChmEntry> entries;
    std::string error;
  } context;
  auto each = [](::chmFile* file, chmUnitInfo* ui, void* data) -> int {
    auto* c = static_cast<Context*>(data);
    ChmEntry e;
    e.name.assign(ui->path, strnlen(ui->path, sizeof ui->path));
    e.section = ui->space;
    e.offset = ui->start;
    e.bytes.resize(static_cast<std::size_t>(ui->length));
    if (ui->length > 0 &&
        chm_retrieve_object(file, ui, reinterpret_cast<unsigned char*>(e.bytes.data()), 0,
                            static_cast<LONGINT64>(ui->length)) != static_cast<LONGINT64>(ui->length)) {
      c->error = "cannot read the object " + e.name;
      return CHM_ENUMERATOR_FAILURE;
    }
    c->entries.push_back(std::move(e));
    return CHM_ENUMERATOR_CONTINUE;
  };
  const int ok = chm_enumerate(h, CHM_ENUMERATE_ALL, each, &context);
  chm_close(h);
  if (!context.error.empty()) throw std::runtime_error(context.error + " in " + path.string());
  if (!ok) throw std::runtime_error("cannot list the objects of " + path.string());
  return context.entries;
}

std::string RepackChm(const std::filesystem::path& input, std::string_view stage) {
  const std::string head = ReadBytes(input).substr(0, 0x18);
  if (head.size() < 0x18 || head.compare(0, 4, "ITSF") != 0)
    throw std::runtime_error("no ITSF header in " + input.string());
  ItsfContents contents;
  for (int i = 3; i >= 0; --i)
    contents.lcid = contents.lcid << 8 | static_cast<unsigned char>(head[0x14 + static_cast<std::size_t>(i)]);

  const std::vector<ChmEntry> entries = ReadChmEntries(input);
  const ChmEntry* ivb = Find(entries, kIvb);
  const ChmEntry* strings = Find(entries, kStrings);
  if (ivb == nullptr || strings == nullptr)
    throw std::runtime_error("no context map (#IVB, #STRINGS) in " + input.string());
  std::vector<std::string> names;
  for (const ChmEntry& e : entries) names.push_back(e.name);
  const std::string fixed = FixContextStrings(ivb->bytes, strings->bytes, names, stage);

  // Section 0 keeps the compiler's order of its objects; section 1 objects
  // keep their offsets, so the order given does not matter for them.
  std::vector<const ChmEntry*> ordered;
  for (const ChmEntry& e : entries) {
    if (!MadeByWriter(e.name)) ordered.push_back(&e);
  }
  std::stable_sort(ordered.begin(), ordered.end(), [](const ChmEntry* a, const ChmEntry* b) {
    return a->section != b->section ? a->section < b->section : a->section == 0 && a->offset < b->offset;
  });
  for (const ChmEntry* e : ordered) {
    contents.objects.push_back(
        {e->name, e->section, e->name == kStrings ? fixed : WithoutCompilerVariance(e->name, e->bytes), e->offset});
  }
  return WriteItsf(contents);
}

void CheckRepacked(const std::filesystem::path& input, const std::filesystem::path& output, std::string_view stage) {
  const std::vector<ChmEntry> before = ReadChmEntries(input);
  const std::vector<ChmEntry> after = ReadChmEntries(output);
  std::map<std::string, const ChmEntry*> written;
  for (const ChmEntry& e : after) written.emplace(e.name, &e);
  if (written.size() != before.size())
    throw std::runtime_error("the repacked file holds a different number of objects");
  for (const ChmEntry& e : before) {
    const auto it = written.find(e.name);
    if (it == written.end()) throw std::runtime_error("the repacked file lacks " + e.name);
    if (it->second->section != e.section)
      throw std::runtime_error("the repacked file moved " + e.name + " to another section");
    if (MadeByWriter(e.name) || e.name == kStrings) continue;
    if (it->second->bytes != WithoutCompilerVariance(e.name, e.bytes))
      throw std::runtime_error("the repacked file reads back " + e.name + " differently");
  }
  if (stage.empty()) return;
  if (ReadBytes(output).find(stage) != std::string::npos)
    throw std::runtime_error("the repacked file still holds " + std::string(stage));
  for (const ChmEntry& e : after) {
    if (e.bytes.find(stage) != std::string::npos)
      throw std::runtime_error(e.name + " still holds " + std::string(stage));
  }
}

}  // namespace velquior::help
