// The help file's repacking parts: the LZX stream, the container and its
// directory read back through chmlib, and the context strings' rewriting.
#include <chm_lib.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "help/chm_repack.h"
#include "help/compiler_variance.h"
#include "help/context_strings.h"
#include "help/itsf_writer.h"
#include "tests/test_util.h"

namespace velquior::help {
namespace {

namespace fs = std::filesystem;
using velquior::testing::TempDir;
using velquior::testing::WriteFile;

std::string Le32(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
          static_cast<char>((v >> 24) & 0xFF)};
}

// Control data as the help compiler writes it: version 2, intervals in frames.
std::string ControlData(std::uint32_t reset, std::uint32_t window, std::uint32_t per_reset) {
  return Le32(6) + "LZXC" + Le32(2) + Le32(reset) + Le32(window) + Le32(per_reset) + Le32(0);
}

std::string Noise(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random());
  return out;
}

ItsfContents Contents(std::vector<ItsfObject> in_lzx, std::uint32_t reset_frames = 2) {
  ItsfContents c;
  c.lcid = 0x0C0A;
  c.objects = {
      {"/", 0, "", 0}, {"/#SYSTEM", 0, Noise(301, 1), 0}, {kLzxControlData, 0, ControlData(reset_frames, 2, 1), 0}};
  for (auto& o : in_lzx) c.objects.push_back(std::move(o));
  return c;
}

fs::path Written(const TempDir& dir, const ItsfContents& contents) {
  const fs::path path = dir / "prueba.chm";
  WriteFile(path, WriteItsf(contents));
  return path;
}

std::string ReadAt(const fs::path& path, const std::string& name, std::uint64_t at, std::uint64_t size) {
  ::chmFile* h = chm_open(path.c_str());
  if (h == nullptr) return "<no abre>";
  chmUnitInfo ui;
  std::string out(size, '\0');
  if (chm_resolve_object(h, name.c_str(), &ui) != CHM_RESOLVE_SUCCESS)
    out = "<no está>";
  else
    out.resize(static_cast<std::size_t>(
        chm_retrieve_object(h, &ui, reinterpret_cast<unsigned char*>(out.data()), at, static_cast<LONGINT64>(size))));
  chm_close(h);
  return out;
}

// Odd sizes, frame edges and several frames and reset points, read whole and
// from the middle (which makes chmlib decode from the last reset point).
TEST(LzxStoredStream, ReadsBackThroughChmlibAcrossFramesAndResets) {
  const std::size_t sizes[] = {1, 4095, 0x8000 - 1, 0x8000, 0x8000 + 1, 3 * 0x8000 + 12345};
  for (std::uint32_t reset : {1u, 2u}) {
    for (std::size_t size : sizes) {
      SCOPED_TRACE("reset " + std::to_string(reset) + ", size " + std::to_string(size));
      const std::string big = Noise(size, static_cast<unsigned>(size));
      TempDir dir;
      const fs::path path = Written(dir, Contents({{"/a.bin", 1, "abc", 0}, {"/grande.bin", 1, big, 7}}, reset));
      EXPECT_EQ(ReadAt(path, "/a.bin", 0, 3), "abc");
      EXPECT_EQ(ReadAt(path, "/grande.bin", 0, size), big);
      const std::uint64_t tail = size > 0x18000 ? 0x18000 - 3 : size / 2;
      EXPECT_EQ(ReadAt(path, "/grande.bin", tail, size - tail), big.substr(tail));
    }
  }
}

// More names than one listing chunk holds, long enough to need two levels
// of index chunks: every object is found by chmlib's index walk, whatever
// the letter case asked, and listed in order.
TEST(ItsfDirectory, ManyObjectsAreFoundThroughIndexChunks) {
  std::vector<ItsfObject> objects;
  for (int i = 0; i < 1000; ++i) {
    const std::string name = "/" + std::string(i % 2 ? "Pag" : "pag") + std::to_string(i * 7919 % 1000) + "_" +
                             std::string(180, static_cast<char>('a' + i % 26)) + ".htm";
    objects.push_back({name, i % 3 == 0 ? 0 : 1, std::to_string(i), static_cast<std::uint64_t>(i) * 8});
  }
  TempDir dir;
  const fs::path path = Written(dir, Contents(objects));
  const std::vector<ChmEntry> read = ReadChmEntries(path);
  EXPECT_EQ(read.size(), objects.size() + 5);  // + "/", #SYSTEM, ControlData, ResetTable, Content
  for (std::size_t i = 1; i < read.size(); ++i) {
    EXPECT_LT(strcasecmp(read[i - 1].name.c_str(), read[i].name.c_str()), 0) << read[i].name;
  }
  for (int i : {0, 1, 377, 998, 999}) {
    const ItsfObject& o = objects[static_cast<std::size_t>(i)];
    std::string upper = o.name;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(ReadAt(path, upper, 0, o.bytes.size()), o.bytes) << o.name;
  }
  EXPECT_EQ(ReadAt(path, "/pag9999.htm", 0, 1), "<no está>");
}

TEST(ItsfWriter, SameObjectsGiveTheSameBytesAndInconsistentOnesAreRefused) {
  const ItsfContents good = Contents({{"/a.htm", 1, "<html>", 0}, {kLzxSpanInfo, 0, Le32(6) + Le32(0), 0}});
  EXPECT_EQ(WriteItsf(good), WriteItsf(good));

  const struct {
    const char* what;
    std::vector<ItsfObject> extra;
    std::string control;
  } bad[] = {
      {"name repeated in another case", {{"/A.HTM", 0, "x", 0}}, ControlData(2, 2, 1)},
      {"overlap in the compressed section", {{"/b.htm", 1, "yy", 5}}, ControlData(2, 2, 1)},
      {"content given", {{kLzxContent, 0, "x", 0}}, ControlData(2, 2, 1)},
      {"span info not the section's length", {{kLzxSpanInfo, 0, Le32(7) + Le32(0), 0}}, ControlData(2, 2, 1)},
      {"readers disagree on the reset interval", {}, ControlData(2, 4, 1)},
      {"not LZXC", {}, "LZXC"},
  };
  for (const auto& b : bad) {
    ItsfContents c = Contents({{"/a.htm", 1, "<html>", 0}});
    c.objects[2].bytes = b.control;
    for (const auto& o : b.extra) c.objects.push_back(o);
    EXPECT_THROW(WriteItsf(c), std::runtime_error) << b.what;
  }
  ItsfContents no_control = good;
  no_control.objects.erase(no_control.objects.begin() + 2);
  EXPECT_THROW(WriteItsf(no_control), std::runtime_error);
}

std::string Ivb(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs) {
  std::string out = Le32(static_cast<std::uint32_t>(pairs.size() * 8));
  for (const auto& [context, offset] : pairs) out += Le32(context) + Le32(offset);
  return out;
}

const std::vector<std::string> kObjects = {
    "/", "/#STRINGS", "/index.htm", "/Ayuda/Index.htm", "/mensajes.htm", "/sub/", "::DataSpace/NameList"};

TEST(ContextStrings, AbsolutePathsBecomeNamesInsideTheFileAtTheSameOffsets) {
  const std::string tail = std::string("Errores\0", 8);
  const struct {
    const char* what;
    std::string stored;
    std::string stage;
    std::string name;
  } cases[] = {
      {"under the staging folder", "/w/b/pages/index.htm", "/w/b/pages", "index.htm"},
      {"staging folder with a slash", "/w/b/pages/Ayuda/index.htm", "/w/b/pages/", "Ayuda/Index.htm"},
      {"no staging folder: longest ending", "/w/b/pages/ayuda/index.htm", "", "Ayuda/Index.htm"},
      {"elsewhere than the staging folder", "/otro/mensajes.htm", "/w/b/pages", "mensajes.htm"},
      {"already a name inside", "MENSAJES.HTM", "", "mensajes.htm"},
      {"fragment kept", "/w/b/pages/index.htm#arriba", "/w/b/pages", "index.htm#arriba"},
  };
  for (const auto& c : cases) {
    const std::string strings = std::string(1, '\0') + c.stored + '\0' + tail;
    const std::string fixed = FixContextStrings(Ivb({{1, 1}, {2, 1}}), strings, kObjects, c.stage);
    ASSERT_EQ(fixed.size(), strings.size()) << c.what;
    EXPECT_EQ(fixed.substr(1, c.name.size() + 1), c.name + '\0') << c.what;
    EXPECT_EQ(fixed.substr(1 + c.name.size()).find_first_not_of('\0'), c.stored.size() - c.name.size() + 1) << c.what;
    EXPECT_EQ(fixed.substr(fixed.size() - tail.size()), tail) << c.what;  // later strings where they were
  }
}

TEST(ContextStrings, MalformedMapsAndUnknownPagesAreRefused) {
  const std::string strings = std::string("\0/w/nada.htm\0/w/sub/\0sin fin", 28);
  const struct {
    const char* what;
    std::string ivb;
  } bad[] = {
      {"names no page", Ivb({{1, 1}})},
      {"names a folder", Ivb({{1, 13}})},
      {"unterminated string", Ivb({{1, 21}})},
      {"offset past the strings", Ivb({{1, 500}})},
      {"length past the map", Le32(16) + Le32(1) + Le32(1)},
      {"length not whole pairs", Le32(4) + Le32(1)},
      {"no length", "\x08"},
  };
  for (const auto& b : bad)
    EXPECT_THROW(FixContextStrings(b.ivb, strings, kObjects, "/w"), std::runtime_error) << b.what;
  EXPECT_EQ(FixContextStrings(Ivb({}), strings, kObjects, "/w"), strings);
}

std::string Record(std::uint16_t code, std::string data) {
  return std::string{static_cast<char>(code), '\0', static_cast<char>(data.size()), '\0'} + data;
}

TEST(CompilerVariance, OnlyTheTimestampAndTheMapCountAreSet) {
  const std::string system = Le32(3) + Record(10, "\x94\xCA\x77\x02") + Record(2, std::string("index.htm\0", 10)) +
                             Record(4, std::string(36, '\x01'));
  const std::string cleared = Le32(3) + Record(10, std::string(4, '\0')) + Record(2, std::string("index.htm\0", 10)) +
                              Record(4, std::string(36, '\x01'));
  EXPECT_EQ(WithoutCompilerVariance("/#SYSTEM", system), cleared);
  EXPECT_EQ(WithoutCompilerVariance("/#SYSTEM", cleared), cleared);
  EXPECT_EQ(WithoutCompilerVariance("/$WWKeywordLinks/Map", std::string("\x38\x50", 2) + std::string(16, '\x07')),
            std::string("\x02\x00", 2) + std::string(16, '\x07'));
  EXPECT_EQ(WithoutCompilerVariance("/index.htm", "\x38\x50"), "\x38\x50");

  const struct {
    const char* name;
    std::string bytes;
  } bad[] = {
      {"/#SYSTEM", Le32(3) + Record(10, "abcd").substr(0, 6)},
      {"/#SYSTEM", Le32(3) + "\x0A\x00"},
      {"/$WWKeywordLinks/Map", std::string(9, '\0')},
      {"/$WWAssociativeLinks/Map", "\x01"},
  };
  for (const auto& b : bad) EXPECT_THROW(WithoutCompilerVariance(b.name, b.bytes), std::runtime_error) << b.name;
}

}  // namespace
}  // namespace velquior::help
