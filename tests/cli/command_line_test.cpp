#include "cli/command_line.h"

#include <gtest/gtest.h>

#include "common/files.h"

namespace velquior::cli {
namespace {

std::string UsageOf(const std::vector<std::string>& args) {
  try {
    ParseCommandLine(args);
  } catch (const UsageError& e) {
    return e.reason;
  }
  return "no error";
}

// The arguments are UTF-8 on every platform: the paths are made from
// them as UTF-8, not in a narrow code page that lacks the characters.
TEST(CliCommandLine, PathsAreTheirUtf8Text) {
  const Options o = ParseCommandLine({"export", "Horarios ñ/日本 ŝ.xml", "--workdir", "C:/ZTEMP ü"});
  EXPECT_EQ(PathToUtf8(o.file), "Horarios ñ/日本 ŝ.xml");
  ASSERT_TRUE(o.work_dir);
  EXPECT_EQ(PathToUtf8(*o.work_dir), "C:/ZTEMP ü");
  EXPECT_EQ(PathToUtf8(o.file.filename()), "日本 ŝ.xml");
}

TEST(CliCommandLine, ReadsEachCommandWithItsOptions) {
  Options o = ParseCommandLine({"export", "a.xml", "--workdir", "/tmp/z", "--decimal-separator", ","});
  EXPECT_EQ(o.command, Command::kExport);
  EXPECT_EQ(o.file, "a.xml");
  EXPECT_EQ(o.work_dir, std::filesystem::path("/tmp/z"));
  EXPECT_EQ(o.decimal_separator, ',');

  o = ParseCommandLine({"import", "--workdir", "w", "b.xml"});
  EXPECT_EQ(o.command, Command::kImport);
  EXPECT_EQ(o.file, "b.xml");
  EXPECT_FALSE(o.decimal_separator);

  o = ParseCommandLine({"dump", "SOLUC.DBF", "--json"});
  EXPECT_EQ(o.command, Command::kDump);
  EXPECT_TRUE(o.json);

  o = ParseCommandLine({"check", "c.xml", "--json", "--workdir", "w", "--decimal-separator", ","});
  EXPECT_EQ(o.command, Command::kCheck);
  EXPECT_EQ(o.file, "c.xml");
  EXPECT_TRUE(o.json);
  EXPECT_EQ(o.work_dir, std::filesystem::path("w"));
  EXPECT_EQ(o.decimal_separator, ',');
  EXPECT_FALSE(o.keep_codes);
  EXPECT_TRUE(ParseCommandLine({"export", "a.xml", "--keep-codes"}).keep_codes);
  EXPECT_TRUE(ParseCommandLine({"check", "--keep-codes", "a.xml"}).keep_codes);

  EXPECT_TRUE(ParseCommandLine({"import", "a.xml", "--no-history"}).no_history);
  EXPECT_FALSE(ParseCommandLine({"export", "a.xml"}).no_history);
  o = ParseCommandLine({"history", "--json"});
  EXPECT_EQ(o.command, Command::kHistory);
  EXPECT_TRUE(o.json);
  EXPECT_EQ(ParseCommandLine({"restore"}).entry, 1u);  // the newest
  EXPECT_EQ(ParseCommandLine({"restore", "12"}).entry, 12u);

  EXPECT_EQ(ParseCommandLine({"--version"}).command, Command::kVersion);
  EXPECT_EQ(ParseCommandLine({"--help"}).command, Command::kHelp);
  EXPECT_EQ(ParseCommandLine({"export", "--help"}).command, Command::kHelp);
}

TEST(CliCommandLine, WrongUsageSaysWhatIsWrong) {
  EXPECT_EQ(UsageOf({}), "orden desconocida: ''");
  EXPECT_EQ(UsageOf({"exportar", "a.xml"}), "orden desconocida: 'exportar'");
  EXPECT_EQ(UsageOf({"export"}), "falta el archivo para 'export'");
  EXPECT_EQ(UsageOf({"check", "--json"}), "falta el archivo para 'check'");
  EXPECT_EQ(UsageOf({"export", "a.xml", "b.xml"}), "argumento de más: 'b.xml'");
  EXPECT_EQ(UsageOf({"export", "a.xml", "--workdir"}), "falta el valor de --workdir");
  EXPECT_EQ(UsageOf({"export", "a.xml", "--json"}), "opción desconocida: '--json'");
  EXPECT_EQ(UsageOf({"dump", "T.DBF", "--workdir", "x"}), "opción desconocida: '--workdir'");
  EXPECT_EQ(UsageOf({"import", "a.xml", "--keep-codes"}), "opción desconocida: '--keep-codes'");
  EXPECT_EQ(UsageOf({"check", "a.xml", "--no-history"}), "opción desconocida: '--no-history'");
  EXPECT_EQ(UsageOf({"history", "a.xml"}), "argumento de más: 'a.xml'");
  EXPECT_EQ(UsageOf({"restore", "--workdir", "w"}), "opción desconocida: '--workdir'");
  for (const char* bad : {"0", "dos", "1.5", "9999999"}) {
    EXPECT_EQ(UsageOf({"restore", bad}), std::string("'") + bad + "' no es un número de entrada del historial");
  }
  EXPECT_EQ(UsageOf({"restore", "1", "2"}), "argumento de más: '2'");
  EXPECT_EQ(UsageOf({"export", "a.xml", "--decimal-separator", "ab"}),
            "separador decimal no válido: 'ab' (debe ser un solo carácter, como '.' o ',')");
  EXPECT_EQ(UsageOf({"export", "a.xml", "--decimal-separator", "5"}),
            "separador decimal no válido: '5' (debe ser un solo carácter, como '.' o ',')");
}

}  // namespace
}  // namespace velquior::cli
