// velquior-convert import against POSIX facilities: write bits, a full
// tmpfs, a file size limit, SIGKILL at any moment. The document survives
// every way its save can go wrong.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "tests/import/import_cli.h"
#include "tests/school_generator.h"
#include "tests/test_util.h"

namespace velquior {
namespace {

using testing::ImportCli;
using testing::kConvert;
using testing::kDocument;
using testing::ListDir;
using testing::MakeTimetable;
using testing::ReadFile;
using testing::RunProgram;
using testing::RunResult;
using testing::WriteFile;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

TEST_F(ImportCli, ReadOnlyDocumentOrFolderIsNotWrittenOver) {
  struct Case {
    const char* what;
    fs::path chmod_path;
    mode_t mode;
    std::string reason;
  } cases[] = {
      {"read-only document", doc_, 0444, "el archivo es de solo lectura"},
      {"read-only folder", docs_, 0555, "el directorio " + docs_.string() + " es de solo lectura"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ::chmod(c.chmod_path.c_str(), c.mode);
    RunResult r = Import(doc_);
    ::chmod(c.chmod_path.c_str(), fs::is_directory(c.chmod_path) ? 0755 : 0644);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, doc_.string() + ": no se puede guardar el documento: " + c.reason + ".\n");
    EXPECT_EQ(ReadFile(doc_), kDocument);
    EXPECT_EQ(ListDir(docs_), std::vector<std::string>{"escuela.xml"});
  }
}

TEST_F(ImportCli, FullDiskDuringTheSave) {
  const fs::path disk = tmp_ / "disco";
  fs::create_directory(disk);
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "no tmpfs: " << std::strerror(errno);
  }
  struct Unmount {
    fs::path dir;
    ~Unmount() { ::umount2(dir.c_str(), MNT_DETACH); }
  } unmount{disk};
  const fs::path doc = disk / "escuela.xml";
  WriteFile(doc, kDocument);
  RunResult r = Import(doc);  // some hundred kilobytes to write
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, doc.string() + ": no se puede escribir el archivo: " + std::strerror(ENOSPC) + ".\n");
  EXPECT_EQ(ReadFile(doc), kDocument);
  EXPECT_EQ(ListDir(disk), std::vector<std::string>{"escuela.xml"});
}

TEST_F(ImportCli, FileSizeLimitDuringTheSave) {
  // With SIGXFSZ ignored the write past the limit fails with EFBIG.
  RunResult r = RunProgram("/bin/sh",
                           {"-c", "trap '' XFSZ; exec prlimit --fsize=16384 -- \"$@\"", "sh", kConvert, "import",
                            doc_.string(), "--workdir", work_.string()},
                           {"LC_ALL=C.UTF-8"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, doc_.string() + ": no se puede escribir el archivo: " + std::strerror(EFBIG) + ".\n");
  EXPECT_EQ(ReadFile(doc_), kDocument);
  EXPECT_EQ(ListDir(docs_), std::vector<std::string>{"escuela.xml"});
}

pid_t Start(const std::vector<std::string>& args) {
  std::vector<std::string> all{kConvert};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, kConvert.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

bool TemporaryFileIn(const fs::path& dir) {
  for (const auto& name : ListDir(dir)) {
    if (name.starts_with(".escuela.xml.")) return true;
  }
  return false;
}

TEST_F(ImportCli, KilledAtAnyMomentLeavesTheOldOrTheNewDocumentWhole) {
  testing::SchoolSize size;
  size.subjects = 1000;
  size.teachers = 1000;
  size.rooms = 300;
  size.groups = 500;
  const std::string original = testing::GenerateSchool(size, testing::XmlEncoding::kIso88591);
  MakeTimetable(work_, 8000);
  const std::vector<std::string> args = {"import", doc_.string(), "--workdir", work_.string()};

  // A run to the end gives the new document and the time a run takes.
  WriteFile(doc_, original);
  auto start = Clock::now();
  pid_t pid = Start(args);
  ASSERT_GT(pid, 0);
  int status = 0;
  ::waitpid(pid, &status, 0);
  const auto full = Clock::now() - start;
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const std::string completed = ReadFile(doc_);
  ASSERT_NE(completed, original);

  // Kills at fractions of that time, and kills timed by the temporary file
  // of the save: as soon as it shows, and moments later.
  int kept_old = 0, got_new = 0, during_save = 0;
  for (int moment = 0; moment < 20; ++moment) {
    SCOPED_TRACE(moment);
    WriteFile(doc_, original);
    pid = Start(args);
    ASSERT_GT(pid, 0);
    const auto began = Clock::now();
    if (moment < 8) {
      std::this_thread::sleep_until(began + full * moment / 8);
    } else {
      while (!TemporaryFileIn(docs_) && Clock::now() - began < full * 3) {
      }
      std::this_thread::sleep_for(std::chrono::microseconds(100 * (moment - 8)));
    }
    during_save += TemporaryFileIn(docs_) ? 1 : 0;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    const std::string now = ReadFile(doc_);
    if (now == original) {
      ++kept_old;
    } else {
      EXPECT_EQ(now, completed) << "half a document";
      ++got_new;
    }
  }
  // One more run clears what the killed ones left.
  WriteFile(doc_, original);
  pid = Start(args);
  ASSERT_GT(pid, 0);
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadFile(doc_), completed);
  EXPECT_EQ(ListDir(docs_), std::vector<std::string>{"escuela.xml"});
  EXPECT_GT(kept_old, 0);
  EXPECT_GT(during_save, 0);
  RecordProperty("kept_old", kept_old);
  RecordProperty("got_new", got_new);
  RecordProperty("killed_during_save", during_save);
}

}  // namespace
}  // namespace velquior
