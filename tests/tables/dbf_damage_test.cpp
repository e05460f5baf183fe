// Damaged bytes: truncated at every length, header sizes that do not fit
// the file, garbage in every byte. The reader gives a clear error that names
// the file, or a table; never a crash, never a read outside the bytes (this
// suite runs under AddressSanitizer with -DVELQUIOR_SANITIZE=ON), never
// another exception type.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/error.h"
#include "tables/catalog.h"
#include "tables/dbf_reader.h"
#include "tables/table.h"
#include "tests/tables/dbf_test_util.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

namespace fs = std::filesystem;
using tables::dbf::ReadTable;
using testing::dbf::PutLe16;
using testing::dbf::PutLe32;

// dbf3-pydbf-n51/SOLUC.DBF: 257-byte header, 13 records of 53 bytes (the
// 7th deleted), 0x1A; 947 bytes.
std::string Soluc() { return testing::ReadFile(testing::dbf::WritersDbfDir() / "dbf3-pydbf-n51" / "SOLUC.DBF"); }

// The error `bytes` give (every field of every record decoded), or "" when
// they read as a table. Any other exception fails the test.
std::string Outcome(const std::string& bytes) {
  // A copy of exactly this size, so that AddressSanitizer sees any read
  // past the end.
  std::unique_ptr<char[]> exact(new char[bytes.size() + (bytes.empty() ? 1 : 0)]);
  std::memcpy(exact.get(), bytes.data(), bytes.size());
  try {
    ReadTable(std::string_view(exact.get(), bytes.size()), "SOLUC.DBF");
  } catch (const Error& e) {
    return std::string(e.message());
  }
  return "";
}

std::string Damaged(const std::string& why) { return "SOLUC.DBF: " + why; }

TEST(DbfDamage, TheUndamagedFileReads) { EXPECT_EQ(Outcome(Soluc()), ""); }

TEST(DbfDamage, CutAtEveryLength) {
  const std::string good = Soluc();
  ASSERT_EQ(good.size(), 947u);
  for (std::size_t n = 0; n < good.size(); ++n) {
    const std::string got = Outcome(good.substr(0, n));
    SCOPED_TRACE("cut at " + std::to_string(n));
    if (n >= 257 + 13 * 53) {
      EXPECT_EQ(got, "");  // only the 0x1A is missing
    } else if (n < 32) {
      EXPECT_EQ(
          got, Damaged("el archivo tiene " + std::to_string(n) + " bytes y no llega a la cabecera de una tabla dBASE"));
    } else if (n < 257) {
      EXPECT_EQ(got, Damaged("la cabecera indica que ocupa 257 bytes y el archivo tiene " + std::to_string(n)));
    } else {
      EXPECT_EQ(got, Damaged("la cabecera indica 13 registros y el archivo tiene " + std::to_string((n - 257) / 53)));
    }
  }
}

TEST(DbfDamage, RecordCountsThatDoNotFitTheFile) {
  struct Case {
    std::uint32_t count;
    std::string outcome;
  } cases[] = {
      {14, Damaged("la cabecera indica 14 registros y el archivo tiene 13")},
      {1000, Damaged("la cabecera indica 1000 registros y el archivo tiene 13")},
      {0xFFFFFFFF, Damaged("la cabecera indica 4294967295 registros y el archivo tiene 13")},
      {5, ""},  // fewer: the rest is ignored, as bytes after the last record
      {0, ""},
  };
  for (const auto& c : cases) {
    std::string bytes = Soluc();
    PutLe32(bytes, 4, c.count);
    EXPECT_EQ(Outcome(bytes), c.outcome) << c.count;
  }
  std::string bytes = Soluc();
  PutLe32(bytes, 4, 5);
  EXPECT_EQ(ReadTable(bytes, "SOLUC.DBF").records.size(), 5u);
}

TEST(DbfDamage, HeaderAndRecordLengthsThatDoNotFit) {
  struct Case {
    std::size_t at;
    std::uint16_t value;
    std::string outcome;
  } cases[] = {
      {8, 5000, Damaged("la cabecera indica que ocupa 5000 bytes y el archivo tiene 947")},
      {8, 0xFFFF, Damaged("la cabecera indica que ocupa 65535 bytes y el archivo tiene 947")},
      {8, 100, Damaged("la lista de campos no termina dentro de la cabecera")},
      {8, 32, Damaged("la lista de campos no termina dentro de la cabecera")},
      {8, 0, Damaged("la lista de campos no termina dentro de la cabecera")},
      // One byte late: 13 records still fit, but the first flag is a text's byte.
      {8, 258, Damaged("el registro 1 tiene una marca de borrado no válida (0x31)")},
      {10, 20, Damaged("la cabecera indica registros de 20 bytes y sus campos, con la marca de borrado, ocupan 53")},
      {10, 0, Damaged("la cabecera indica registros de 0 bytes y sus campos, con la marca de borrado, ocupan 53")},
      {10, 52, Damaged("la cabecera indica registros de 52 bytes y sus campos, con la marca de borrado, ocupan 53")},
      {10, 54, Damaged("la cabecera indica 13 registros y el archivo tiene 12")},
      {10, 60000, Damaged("la cabecera indica 13 registros y el archivo tiene 0")},
  };
  for (const auto& c : cases) {
    std::string bytes = Soluc();
    PutLe16(bytes, c.at, c.value);
    EXPECT_EQ(Outcome(bytes), c.outcome) << c.at << " = " << c.value;
  }
}

TEST(DbfDamage, GarbageInTheHeaderAndTheFieldList) {
  auto with = [](std::size_t at, std::string_view piece) {
    std::string bytes = Soluc();
    bytes.replace(at, piece.size(), piece);
    return Outcome(bytes);
  };
  EXPECT_EQ(with(0, "A"), Damaged("no es una tabla dBASE (el primer byte es 0x41)"));
  EXPECT_EQ(with(0, "\x02"), Damaged("no es una tabla dBASE (el primer byte es 0x02)"));
  EXPECT_EQ(with(0, std::string(1, '\0')), Damaged("no es una tabla dBASE (el primer byte es 0x00)"));
  // The fifth field (DIA at 32 + 4 * 32): type, width.
  EXPECT_EQ(with(32 + 4 * 32 + 11, "X"), Damaged("el campo DIA es de un tipo desconocido ('X')"));
  EXPECT_EQ(with(32 + 4 * 32 + 11, std::string(1, '\x01')), Damaged("el campo DIA es de un tipo desconocido ('0x01')"));
  EXPECT_EQ(with(32 + 4 * 32 + 16, std::string(1, '\0')), Damaged("el campo DIA tiene anchura 0"));
  EXPECT_EQ(with(32 + 4 * 32 + 11, "I"), Damaged("el campo DIA de tipo I tiene anchura 2 y debe tener 4"));
  EXPECT_EQ(with(32 + 4 * 32 + 11, "L"), Damaged("el campo DIA de tipo L tiene anchura 2 y debe tener 1"));
  // Wider than the record: the sum of the widths says so.
  EXPECT_EQ(with(32 + 4 * 32 + 16, "\x09"),
            Damaged("la cabecera indica registros de 53 bytes y sus campos, con la marca de borrado, ocupan 60"));
  // The terminator where the first descriptor starts: no fields.
  EXPECT_EQ(with(32, "\x0D"), Damaged("la tabla no tiene campos"));
  // No terminator: descriptors run into the records.
  EXPECT_EQ(with(256, "A"), Damaged("la lista de campos no termina dentro de la cabecera"));
}

TEST(DbfDamage, GarbageInTheRecords) {
  std::string bytes = Soluc();
  bytes[257 + 2 * 53] = 'X';  // deletion flag of the third record
  EXPECT_EQ(Outcome(bytes), Damaged("el registro 3 tiene una marca de borrado no válida (0x58)"));
  bytes[257 + 2 * 53] = '\x1A';
  EXPECT_EQ(Outcome(bytes), Damaged("el registro 3 tiene una marca de borrado no válida (0x1A)"));

  bytes = Soluc();
  bytes.replace(257 + 41, 2, "x1");  // DIA of the first record
  EXPECT_EQ(Outcome(bytes), Damaged("el registro 1 tiene en el campo DIA un valor no válido: 'x1'"));
  // Through a handle the table opens; only reading that value fails.
  testing::TempDir dir;
  testing::WriteFile(dir / "SOLUC.DBF", bytes);
  tables::Table t(dir.path(), "SOLUC", "wwTableSoluc");
  t.Open();
  EXPECT_EQ(t.AsText("CODGRUPO"), "1A");
  EXPECT_EQ(t.AsFloat("HORA"), 2.0);
  try {
    t.AsInteger("DIA");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), Damaged("el registro 1 tiene en el campo DIA un valor no válido: 'x1'"));
  }
  t.Next();
  EXPECT_EQ(t.AsInteger("DIA"), 0);
}

TEST(DbfDamage, EveryByteOverwritten) {
  // Each byte of the file set to values that mean something somewhere.
  const std::string good = Soluc();
  int errors = 0, tables = 0;
  for (std::size_t at = 0; at < good.size(); ++at) {
    for (char value : {'\0', '\xFF', '\x0D', '\x1A', '*', ' ', '9', 'C', 'I', '0'}) {
      std::string bytes = good;
      bytes[at] = value;
      std::string got = Outcome(bytes);
      if (got.empty()) {
        ++tables;
      } else {
        ++errors;
        ASSERT_EQ(got.rfind("SOLUC.DBF: ", 0), 0u) << got;
      }
    }
  }
  EXPECT_GT(errors, 100);
  EXPECT_GT(tables, 1000);
}

TEST(DbfDamage, RandomGarbage) {
  for (std::uint32_t seed = 0; seed < 4000; ++seed) {
    std::string bytes = testing::dbf::Garbage(seed, seed % 700);
    if (bytes.size() >= 12 && seed % 2 == 0) {
      // A plausible header over garbage, so that parsing goes further.
      bytes[0] = "\x03\x30\x04\x8B"[seed / 2 % 4];
      PutLe32(bytes, 4, seed % 9);
      PutLe16(bytes, 8, static_cast<std::uint16_t>(33 + seed % (bytes.size() - 32 + 1)));
      PutLe16(bytes, 10, static_cast<std::uint16_t>(1 + seed % 40));
    }
    const std::string got = Outcome(bytes);
    if (!got.empty()) {
      ASSERT_EQ(got.rfind("SOLUC.DBF: ", 0), 0u) << seed << ": " << got;
    }
  }
}

TEST(DbfDamage, FilesThatAreNoTables) {
  testing::TempDir dir;
  testing::WriteFile(dir / "SOLUC.DBF", "");
  fs::create_directory(dir / "AULAT.DBF");
  tables::Table empty(dir.path(), "SOLUC");
  try {
    empty.Open();
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), Damaged("el archivo tiene 0 bytes y no llega a la cabecera de una tabla dBASE"));
  }
  tables::Table folder(dir.path(), "AULAT");
  try {
    folder.Open();
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.message()).find("AULAT.DBF"), std::string::npos) << e.message();
  }
  EXPECT_FALSE(folder.Active());
}

}  // namespace
}  // namespace velquior

namespace velquior {
namespace {

// tests/fixtures/dbf: our own damaged tables, one damage per folder.
TEST(DbfOwnFixtures, EachGivesItsMessage) {
  const fs::path dir = fs::path(VELQUIOR_TEST_FIXTURES) / "dbf";
  const std::pair<const char*, const char*> cases[] = {
      {"bad-version", "no es una tabla dBASE (el primer byte es 0x41)"},
      {"short-header", "el archivo tiene 20 bytes y no llega a la cabecera de una tabla dBASE"},
      {"header-too-long", "la cabecera indica que ocupa 5000 bytes y el archivo tiene 947"},
      {"no-terminator", "la lista de campos no termina dentro de la cabecera"},
      {"record-length-short",
       "la cabecera indica registros de 20 bytes y sus campos, con la marca de borrado, ocupan 53"},
      {"count-too-big", "la cabecera indica 1000 registros y el archivo tiene 13"},
      {"bad-flag", "el registro 3 tiene una marca de borrado no válida (0x58)"},
      {"unknown-type", "el campo DIA es de un tipo desconocido ('X')"},
      {"width-zero", "el campo DIA tiene anchura 0"},
  };
  for (const auto& [folder, why] : cases) {
    SCOPED_TRACE(folder);
    tables::Table t(dir / folder, "soluc");
    try {
      t.Open();
      ADD_FAILURE() << "opened";
    } catch (const Error& e) {
      EXPECT_EQ(e.message(), Damaged(why));
    }
    EXPECT_EQ(Outcome(testing::ReadFile(dir / folder / "SOLUC.DBF")), Damaged(why));
  }
  tables::Table t(dir / "bad-number", "SOLUC");
  t.Open();
  EXPECT_EQ(t.AsText("CODGRUPO"), "1A");
  try {
    t.AsText("DIA");
    ADD_FAILURE() << "read";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), Damaged("el registro 1 tiene en el campo DIA un valor no válido: 'x1'"));
  }
  // The folder holds those and nothing else of the kind.
  std::vector<std::string> folders;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (e.is_directory()) folders.push_back(e.path().filename().string());
  }
  EXPECT_EQ(folders.size(), std::size(cases) + 1);
}

}  // namespace
}  // namespace velquior
