#include "shell/host_launch.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/error.h"
#include "shell/result_file.h"

namespace velquior::shell {
namespace {

TEST(HostLaunchTest, OnlyTwoParametersMakeAHostLaunch) {
  using Params = std::vector<std::string>;
  EXPECT_FALSE(IsHostCommandLine(Params{}));
  EXPECT_FALSE(IsHostCommandLine(Params{"exportar"}));
  EXPECT_TRUE(IsHostCommandLine(Params{"exportar", "1A2B3C"}));
  EXPECT_TRUE(IsHostCommandLine(Params{"", ""}));
  EXPECT_FALSE(IsHostCommandLine(Params{"exportar", "1A2B3C", "x"}));
}

TEST(HostLaunchTest, ConversionNameIgnoresTheCaseOfAToZOnly) {
  const struct {
    const char* param;
    Conversion expected;
  } cases[] = {
      {"exportar", Conversion::kExport},      {"EXPORTAR", Conversion::kExport}, {"Exportar", Conversion::kExport},
      {"eXpOrTaR", Conversion::kExport},      {"importar", Conversion::kImport}, {"IMPORTAR", Conversion::kImport},
      {"Importar", Conversion::kImport},      {"", Conversion::kNone},           {"exportar ", Conversion::kNone},
      {" importar", Conversion::kNone},       {"export", Conversion::kNone},     {"importarr", Conversion::kNone},
      {"\xC3\x89XPORTAR", Conversion::kNone},  // É is not one of A-Z
  };
  for (const auto& c : cases) EXPECT_EQ(ConversionNamed(c.param), c.expected) << '"' << c.param << '"';
}

TEST(HostLaunchTest, HandleIsHexadecimalUpToFFFFFFFF) {
  const struct {
    const char* param;
    std::uint32_t expected;
  } cases[] = {
      {"1A2B3C", 0x1A2B3Cu}, {"1a2b3c", 0x1A2B3Cu},     {"0", 0u},
      {"0000000A", 0xAu},    {"FFFFFFFF", 0xFFFFFFFFu}, {"80000000", 0x80000000u},
      {"400007", 0x400007u}, {"deadBEEF", 0xDEADBEEFu},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadHostHandle(c.param), c.expected) << c.param;
}

TEST(HostLaunchTest, UnreadableHandleRaisesTheConversionError) {
  const struct {
    const char* param;
    const char* message;
  } cases[] = {
      {"xyz", "'$xyz' no es un valor entero válido"},
      {"", "'$' no es un valor entero válido"},
      {"100000000", "'$100000000' no es un valor entero válido"},
      {"0x1A", "'$0x1A' no es un valor entero válido"},
      {"1A 2B", "'$1A 2B' no es un valor entero válido"},
      {"12G", "'$12G' no es un valor entero válido"},
      {"\xC3\xB1", "'$\xC3\xB1' no es un valor entero válido"},  // ñ comes back as it went in
  };
  for (const auto& c : cases) {
    try {
      ReadHostHandle(c.param);
      ADD_FAILURE() << "no error for " << c.param;
    } catch (const Error& e) {
      EXPECT_EQ(e.message(), c.message);
      EXPECT_EQ(WithFullStop(e.message()), std::string(c.message) + ".");
    }
  }
}

TEST(HostLaunchTest, ResultFileLivesBesideTheExecutable) {
  EXPECT_EQ(ResultFilePath("/opt/zeltimor"), std::filesystem::path("/opt/zeltimor/Zeltimor.ini"));
}

}  // namespace
}  // namespace velquior::shell
