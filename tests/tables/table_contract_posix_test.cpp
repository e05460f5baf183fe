// The table engine against POSIX facilities: flock(1) as a second program,
// a file size limit, write bits.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "common/error.h"
#include "tables/dbf_reader.h"
#include "tables/table.h"
#include "tests/tables/dbf_test_util.h"
#include "tests/tables/table_contract.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

namespace fs = std::filesystem;
using tables::Table;
using testing::AddRow;
using testing::ErrorOf;
using testing::ReadFile;
using testing::TableContract;

TEST_F(TableContract, AnotherProgramSeesTheLock) {
  Table component(dir_.path(), "SOLUC", "wwTableSoluc");
  component.Open();
  // flock(1) as a second converter would: it must fail at once.
  auto r = testing::RunProgram("/usr/bin/flock", {"-n", "-s", File().string(), "true"});
  EXPECT_EQ(r.status, 1) << r.err;
  component.Close();
  r = testing::RunProgram("/usr/bin/flock", {"-n", "-x", File().string(), "true"});
  EXPECT_EQ(r.status, 0) << r.err;
  Table builder(dir_.path(), "SOLUC");
  builder.Open();
  r = testing::RunProgram("/usr/bin/flock", {"-n", "-s", File().string(), "true"});
  EXPECT_EQ(r.status, 0) << r.err;
  r = testing::RunProgram("/usr/bin/flock", {"-n", "-x", File().string(), "true"});
  EXPECT_EQ(r.status, 1) << r.err;
}

TEST_F(TableContract, AFailedWriteLeavesAValidTableAndIsTriedAgain) {
  // A file size limit makes the second batch fail half written, as a full
  // disk would.
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 100000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

  Table t(dir_.path(), "SOLUC");
  t.Open();
  int posted = 0;
  std::string error = "(no error)";
  for (; posted < 5000 && error == "(no error)"; ++posted) {
    error = ErrorOf([&] { AddRow(t, "G" + std::to_string(posted), std::to_string(posted), posted); });
  }
  EXPECT_EQ(error, File().string() + ": no se puede escribir el archivo: File too large");
  // The file is the table of the first batch; the torn second one lies
  // after its counted records.
  auto c = tables::dbf::ReadTable(File());
  EXPECT_GT(c.records.size(), 0u);
  EXPECT_LT(c.records.size(), static_cast<std::size_t>(posted));
  // With the batch still full, appending tries the write again.
  EXPECT_EQ(ErrorOf([&] { t.Append(); }), error);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &old), 0);
  std::signal(SIGXFSZ, old_handler);
  AddRow(t, "END", "-1", -1);
  t.Close();
  c = tables::dbf::ReadTable(File());
  ASSERT_EQ(c.records.size(), static_cast<std::size_t>(posted) + 1);
  for (int i = 0; i < posted; ++i) {
    ASSERT_EQ(std::get<std::int64_t>(c.records[i][3]), i);
  }
  EXPECT_EQ(std::get<std::string>(c.records.back()[0]), "END");
}

TEST_F(TableContract, AReadOnlyFileOpensForReading) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes anyway";
  fs::permissions(File(), fs::perms::owner_read);
  Table t(dir_.path(), "SOLUC");
  t.Open();
  EXPECT_EQ(ErrorOf([&] { t.Append(); }), File().string() + ": no se puede escribir el archivo: Permission denied");
}

TEST_F(TableContract, ADamagedFileLeavesTheHandleClosedAndUnlocked) {
  std::string bytes = ReadFile(File());
  testing::dbf::PutLe32(bytes, 4, 5);  // five records promised, none there
  testing::WriteFile(File(), bytes);
  Table t(dir_.path(), "SOLUC", "wwTableSoluc");
  EXPECT_EQ(ErrorOf([&] { t.Open(); }), "SOLUC.DBF: la cabecera indica 5 registros y el archivo tiene 0");
  EXPECT_FALSE(t.Active());
  auto r = testing::RunProgram("/usr/bin/flock", {"-n", "-x", File().string(), "true"});
  EXPECT_EQ(r.status, 0);
}

}  // namespace
}  // namespace velquior
