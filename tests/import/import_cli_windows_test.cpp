// velquior-convert import against what Windows does to a document: the
// read-only attribute, another program's hold, a process ended at any
// moment. The document survives every way its save can go wrong.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
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
using testing::RunResult;
using testing::Utf8;
using testing::WriteFile;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

TEST_F(ImportCli, ReadOnlyDocumentIsNotWrittenOver) {
  ASSERT_TRUE(::SetFileAttributesW(doc_.c_str(), FILE_ATTRIBUTE_READONLY));
  RunResult r = Import(doc_);
  ::SetFileAttributesW(doc_.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, Utf8(doc_) + ": no se puede guardar el documento: el archivo es de solo lectura.\n");
  EXPECT_EQ(ReadFile(doc_), kDocument);
  EXPECT_EQ(ListDir(docs_), std::vector<std::string>{"escuela.xml"});
}

// A folder's read-only mark means nothing to Windows: the import goes on.
TEST_F(ImportCli, AMarkedFolderIsWrittenAllTheSame) {
  MakeTimetable(work_, 3);
  ASSERT_TRUE(::SetFileAttributesW(docs_.c_str(), FILE_ATTRIBUTE_READONLY));
  RunResult r = Import(doc_);
  ::SetFileAttributesW(docs_.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(ReadFile(doc_).find("<time-table id=\"tt1\" name=\"Zeltimor\">"), std::string::npos);
  EXPECT_EQ(ListDir(docs_), std::vector<std::string>{"escuela.xml"});
}

TEST_F(ImportCli, ADocumentHeldByAnotherProgramIsNotWrittenOver) {
  MakeTimetable(work_, 3);
  HANDLE held = ::CreateFileW(doc_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  RunResult r = Import(doc_);
  ::CloseHandle(held);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind(Utf8(doc_) + " ", 0), 0u) << r.err;
  EXPECT_EQ(ReadFile(doc_), kDocument);
  EXPECT_EQ(ListDir(docs_), std::vector<std::string>{"escuela.xml"});
}

TEST_F(ImportCli, FullDiskDuringTheSave) {
  GTEST_SKIP() << "needs a small tmpfs mounted for the test to fill the disk";
}

TEST_F(ImportCli, FileSizeLimitDuringTheSave) {
  GTEST_SKIP() << "needs a file size limit (RLIMIT_FSIZE) to make the save's write fail";
}

std::wstring Wide(const std::string& utf8) {
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

// The converter started without waiting for it; its output is thrown away.
class Converter {
 public:
  explicit Converter(const std::vector<std::string>& args) {
    std::wstring command_line = L"\"" + Wide(kConvert) + L"\"";
    for (const auto& a : args) command_line += L" \"" + Wide(a) + L"\"";
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE nul = ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul;
    const std::wstring application = Wide(kConvert);
    started_ = ::CreateProcessW(application.c_str(), command_line.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS,
                                nullptr, nullptr, &si, &pi_);
    ::CloseHandle(nul);
  }
  ~Converter() {
    if (started_) {
      Kill();
      ::CloseHandle(pi_.hThread);
      ::CloseHandle(pi_.hProcess);
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool started() const { return started_; }
  // Ended at once, as the task manager ends a program.
  void Kill() {
    ::TerminateProcess(pi_.hProcess, 9);
    ::WaitForSingleObject(pi_.hProcess, INFINITE);
  }
  // The exit status once it has ended by itself.
  DWORD Wait() {
    ::WaitForSingleObject(pi_.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

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
  const std::vector<std::string> args = {"import", Utf8(doc_), "--workdir", Utf8(work_)};

  // A run to the end gives the new document and the time a run takes.
  WriteFile(doc_, original);
  auto start = Clock::now();
  {
    Converter run(args);
    ASSERT_TRUE(run.started());
    ASSERT_EQ(run.Wait(), 0u);
  }
  const auto full = Clock::now() - start;
  const std::string completed = ReadFile(doc_);
  ASSERT_NE(completed, original);

  // Ended at fractions of that time, and when the save's temporary file
  // shows, and moments later.
  int kept_old = 0, got_new = 0, during_save = 0;
  for (int moment = 0; moment < 20; ++moment) {
    SCOPED_TRACE(moment);
    WriteFile(doc_, original);
    Converter run(args);
    ASSERT_TRUE(run.started());
    const auto began = Clock::now();
    if (moment < 8) {
      std::this_thread::sleep_until(began + full * moment / 8);
    } else {
      while (!TemporaryFileIn(docs_) && Clock::now() - began < full * 3) {
      }
      std::this_thread::sleep_for(std::chrono::microseconds(100 * (moment - 8)));
    }
    during_save += TemporaryFileIn(docs_) ? 1 : 0;
    run.Kill();
    const std::string now = ReadFile(doc_);
    if (now == original) {
      ++kept_old;
    } else {
      EXPECT_EQ(now, completed) << "half a document";
      ++got_new;
    }
  }
  // One more run clears what the ended ones left.
  WriteFile(doc_, original);
  {
    Converter run(args);
    ASSERT_TRUE(run.started());
    ASSERT_EQ(run.Wait(), 0u);
  }
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
