// The command-line converter where Windows decides: paths with a drive
// letter and backslashes, names outside the code page, C:\ZTEMP, files that
// other programs hold, the read-only attribute.

#include <windows.h>
// windows.h first: the header below takes its types from it.
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <map>
#include <thread>

#include "common/file_lock.h"
#include "tests/cli/cli_convert.h"
#include "tests/import/import_cli.h"
#include "tests/test_util.h"

namespace velquior::testing {

// No other user to switch to here: every case runs as this one.
RunResult Convert(const std::vector<std::string>& args, bool unprivileged) {
  if (unprivileged) ADD_FAILURE() << "no unprivileged runs on Windows";
  return RunProgram(kConvert, args, {"LC_ALL=C.UTF-8"});
}

// The scratch folder's access list already lets this user in.
void OpenToEveryone(const std::filesystem::path&, const std::filesystem::path&) {}

}  // namespace velquior::testing

namespace velquior {
namespace {

using testing::CliConvert;
using testing::Convert;
using testing::kConvert;
using testing::kSaga;
using testing::kSample;
using testing::ListDir;
using testing::ReadFile;
using testing::RunProgram;
using testing::RunResult;
using testing::Utf8;
using testing::WriteFile;
namespace fs = std::filesystem;

const std::vector<std::string> kExported = {"ASIGNOMT.DBF",   "ASIGT.DBF",   "AULAT.DBF",
                                            "DIASHORAST.DBF", "GRUPOST.DBF", "PROFT.DBF"};

// Opened by another program that shares nothing, as the timetabling
// program holds its tables.
class ExclusiveHold {
 public:
  explicit ExclusiveHold(const fs::path& file)
      : h_(::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr)) {}
  ~ExclusiveHold() {
    if (held()) ::CloseHandle(h_);
  }
  ExclusiveHold(const ExclusiveHold&) = delete;
  ExclusiveHold& operator=(const ExclusiveHold&) = delete;
  bool held() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

TEST_F(CliConvert, ExportsTheSampleSchoolAndSaysWhatItWrote) {
  ASSERT_TRUE(work_.has_root_name()) << work_;  // a drive letter
  RunResult r = Convert(Export(kSample));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string w = Utf8(work_) + "\\";
  EXPECT_NE(r.out.find(w + "ASIGNOMT.DBF: 22 registros\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(w + "PROFT.DBF: 25 registros\n"), std::string::npos);
  EXPECT_NE(r.out.find(w + "AULAT.DBF: 10 registros\n"), std::string::npos);
  EXPECT_NE(r.out.find(w + "GRUPOST.DBF: 12 registros\n"), std::string::npos);
  EXPECT_NE(r.out.find(w + "DIASHORAST.DBF: 0 registros\n"), std::string::npos);
  EXPECT_TRUE(r.out.ends_with("Proceso finalizado\n"));
  EXPECT_EQ(ListDir(work_), kExported);
}

// The full Windows form of a path: drive letter and backslashes.
fs::path Native(const fs::path& path) { return fs::absolute(path).make_preferred(); }

TEST_F(CliConvert, RefusedInputsLeaveTheWorkDirectoryAsItWas) {
  WriteFile(work_ / "ASIGNOMT.DBF", "the host's table");
  fs::create_directory(tmp_ / "carpeta.xml");
  const fs::path held = tmp_ / "retenido.xml";
  fs::copy_file(kSample, held);
  ExclusiveHold hold(held);
  ASSERT_TRUE(hold.held());

  struct Case {
    fs::path file;
    int status;
    std::string err_prefix;  // standard error begins with this
  } cases[] = {
      {tmp_ / "no-existe.xml", 3, ""},
      {tmp_ / "carpeta.xml", 1, Utf8(tmp_ / "carpeta.xml") + " no es un documento XML válido: "},
      {Native(kSaga / "empty.xml"), 1, Utf8(Native(kSaga / "empty.xml")) + " no es un documento XML válido: "},
      {Native(kSaga / "not-xml.xml"), 1, Utf8(Native(kSaga / "not-xml.xml")) + " no es un documento XML válido: "},
      {Native(kSaga / "other-root.xml"), 1,
       Utf8(Native(kSaga / "other-root.xml")) +
           " no es un documento SAGA: el elemento raíz es 'escuela' y debe ser 'document'\n"},
      {Native(kSaga / "billion-laughs.xml"), 1,
       Utf8(Native(kSaga / "billion-laughs.xml")) + " no es un documento XML válido: "},
      {held, 1, Utf8(held) + " no es un documento XML válido: línea 0: no se puede leer el archivo: "},
  };
  for (const auto& c : cases) {
    auto start = std::chrono::steady_clock::now();
    RunResult r = Convert(Export(c.file));
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(r.status, c.status) << c.file << "\n" << r.err;
    if (c.status == 3) {
      EXPECT_EQ(r.out, "No existe archivo\n");
    } else {
      EXPECT_EQ(r.err.rfind(c.err_prefix, 0), 0u) << r.err;
      EXPECT_EQ(r.out, "");
    }
    EXPECT_LT(took, std::chrono::seconds(5)) << c.file;
    EXPECT_EQ(ListDir(work_), std::vector<std::string>{"ASIGNOMT.DBF"});
    EXPECT_EQ(ReadFile(work_ / "ASIGNOMT.DBF"), "the host's table");
  }
}

// What keeps an export from the work directory on Windows: it is missing,
// another conversion holds it, the timetabling program holds a table, or a
// table is marked read-only. Nothing there changes.
TEST_F(CliConvert, WorkDirectoryThatIsMissingInUseOrHeld) {
  RunResult r = Convert({"export", Utf8(kSample), "--workdir", Utf8(tmp_ / "NADA")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "No existe el directorio de trabajo " + Utf8(tmp_ / "NADA") + ".\n");
  EXPECT_FALSE(fs::exists(tmp_ / "NADA"));

  for (const auto& name : kExported) WriteFile(work_ / name, "old " + name);
  {
    auto second = FileLock::TryLock(work_, FileLock::Mode::kExclusive);  // as another converter locks it
    ASSERT_TRUE(second);
    r = Convert(Export(kSample));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "El directorio de trabajo " + Utf8(work_) + " está en uso por otra conversión.\n");
  }
  {
    ExclusiveHold hold(work_ / "PROFT.DBF");
    ASSERT_TRUE(hold.held());
    r = Convert(Export(kSample));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "PROFT.DBF: la tabla está abierta en exclusiva por otro programa.\n");
  }
  ASSERT_TRUE(::SetFileAttributesW((work_ / "GRUPOST.DBF").c_str(), FILE_ATTRIBUTE_READONLY));
  r = Convert(Export(kSample));
  ::SetFileAttributesW((work_ / "GRUPOST.DBF").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "GRUPOST.DBF: no se puede reemplazar la tabla: el archivo es de solo lectura.\n");

  EXPECT_EQ(ListDir(work_), kExported);
  for (const auto& name : kExported) EXPECT_EQ(ReadFile(work_ / name), "old " + name) << name;
}

TEST_F(CliConvert, WorkDirectoryFromTheEnvironment) {
  RunResult r = RunProgram(kConvert, {"export", Utf8(kSample)}, {"VELQUIOR_WORKDIR=" + Utf8(work_), "LC_ALL=C.UTF-8"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ListDir(work_).size(), 6u);

  // Unset: the timetabling program's own folder on drive C.
  const fs::path ztemp = L"C:\\ZTEMP";
  const bool made = fs::create_directory(ztemp);
  r = RunProgram(kConvert, {"export", Utf8(kSample)}, {"VELQUIOR_WORKDIR=", "LC_ALL=C.UTF-8"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("C:\\ZTEMP\\PROFT.DBF: 25 registros\n"), std::string::npos) << r.out;
  for (const auto& name : kExported) EXPECT_TRUE(fs::exists(ztemp / name)) << name;
  if (made) fs::remove_all(ztemp);
}

// A document and a work directory whose names Windows-1252 cannot spell,
// given with a drive letter and backslashes: exported, then imported back.
TEST_F(CliConvert, NamesOutsideTheCodePageExportAndImport) {
  const fs::path folder = tmp_.path() / fs::u8path("Horarios \xC5\x9D");
  const fs::path work = folder / fs::u8path("ZTEMP \xE6\x97\xA5\xE6\x9C\xAC");
  const fs::path doc = folder / fs::u8path("Escuela \xC5\x9D \xE6\x97\xA5\xE6\x9C\xAC.xml");
  fs::create_directories(work);
  fs::copy_file(kSample, doc);
  const std::string doc_text = Utf8(doc);
  ASSERT_EQ(doc_text.find('/'), std::string::npos) << doc_text;
  ASSERT_EQ(doc_text[1], ':') << doc_text;

  RunResult r = Convert({"export", doc_text, "--workdir", Utf8(work)});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(Utf8(work / "PROFT.DBF") + ": 25 registros\n"), std::string::npos) << r.out;
  EXPECT_EQ(ListDir(work), kExported);

  r = Convert({"import", doc_text, "--workdir", Utf8(work)});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "SOLUC.DBF: no existe la tabla en " + Utf8(work) + ".\n");

  const std::string before = ReadFile(doc);
  testing::MakeTimetable(work, 3);
  r = Convert({"import", doc_text, "--workdir", Utf8(work)});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Proceso finalizado\n");
  const std::string after = ReadFile(doc);
  EXPECT_NE(after, before);
  EXPECT_NE(after.find("<time-table id=\"tt1\" name=\"Zeltimor\">"), std::string::npos);
  EXPECT_EQ(ListDir(folder), (std::vector<std::string>{"Escuela \xC5\x9D \xE6\x97\xA5\xE6\x9C\xAC.xml",
                                                       "ZTEMP \xE6\x97\xA5\xE6\x9C\xAC"}));
}

bool ConverterRunning() {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found; more = ::Process32NextW(snapshot, &entry)) {
    found = ::_wcsicmp(entry.szExeFile, L"velquior-convert.exe") == 0;
  }
  ::CloseHandle(snapshot);
  return found;
}

// Another program holding a file for a while, as a scanner does right after
// a file is written: opened with `share` (never leave to delete or rename
// it), let go `hold` after the converter has started, or at the end.
class TimedHold {
 public:
  TimedHold(const fs::path& file, DWORD share, std::chrono::milliseconds hold)
      : h_(::CreateFileW(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)),
        release_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        thread_([this, hold] {
          for (int i = 0; i < 2000 && !ConverterRunning(); ++i) ::Sleep(5);
          ::WaitForSingleObject(release_, static_cast<DWORD>(hold.count()));
          ::CloseHandle(h_);
        }) {}
  ~TimedHold() {
    ::SetEvent(release_);
    thread_.join();
    ::CloseHandle(release_);
  }
  TimedHold(const TimedHold&) = delete;
  TimedHold& operator=(const TimedHold&) = delete;
  bool held() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
  HANDLE release_;
  std::thread thread_;
};

// Every file under `dir` with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (e.is_regular_file()) files[Utf8(fs::relative(e.path(), dir))] = ReadFile(e.path());
  }
  return files;
}

// A table, the document or a timetable table held by another program during
// an export or an import. Held briefly, the run waits and completes; held
// for good, it fails after about two seconds naming the file, and every file
// stays as it was.
TEST_F(CliConvert, FilesHeldByAnotherProgramAreWaitedFor) {
  const fs::path doc = tmp_ / "escuela.xml";
  constexpr DWORD kNoDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;
  const struct Case {
    std::string conversion;
    fs::path held;
    DWORD share;
    std::string message;  // for a hold that outlasts the wait
  } cases[] = {
      {"export", work_ / "PROFT.DBF", kNoDelete, "PROFT.DBF: la tabla está abierta en exclusiva por otro programa.\n"},
      {"export", doc, 0,
       Utf8(doc) +
           " no es un documento XML válido: línea 0: no se puede leer el archivo: otro programa tiene abierto el "
           "archivo escuela.xml.\n"},
      {"import", doc, kNoDelete,
       Utf8(doc) + ": no se puede escribir el archivo: otro programa tiene abierto el archivo escuela.xml.\n"},
      {"import", work_ / "SOLUC.DBF", 0, "SOLUC.DBF: la tabla está abierta en exclusiva por otro programa.\n"},
  };
  for (const auto& c : cases) {
    for (const bool briefly : {true, false}) {
      SCOPED_TRACE(c.conversion + " " + Utf8(c.held.filename()) + (briefly ? " briefly" : " for good"));
      fs::remove_all(work_);
      fs::create_directory(work_);
      fs::copy_file(kSample, doc, fs::copy_options::overwrite_existing);
      ASSERT_EQ(Convert(Export(doc)).status, 0);
      testing::MakeTimetable(work_, 3);
      const auto work_before = Snapshot(work_);
      const std::string doc_before = ReadFile(doc);

      const auto start = std::chrono::steady_clock::now();
      RunResult r;
      {
        TimedHold hold(c.held, c.share, briefly ? std::chrono::milliseconds(300) : std::chrono::seconds(5));
        ASSERT_TRUE(hold.held());
        r = Convert({c.conversion, Utf8(doc), "--workdir", Utf8(work_)});
      }
      const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
      std::cout << c.conversion << " " << Utf8(c.held.filename()) << (briefly ? " held 300 ms: " : " held 5 s: ")
                << took.count() << " ms\n";
      if (briefly) {
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(r.out.ends_with("Proceso finalizado\n")) << r.out;
        continue;
      }
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.err, c.message);
      EXPECT_GE(took, std::chrono::milliseconds(1900));
      EXPECT_LT(took, std::chrono::milliseconds(4900));  // gave up by itself
      EXPECT_EQ(Snapshot(work_), work_before);
      EXPECT_EQ(ReadFile(doc), doc_before);
      EXPECT_EQ(ListDir(tmp_.path()), (std::vector<std::string>{"ZTEMP", "escuela.xml"}));
    }
  }
}

// 300 characters: beyond the system's old limit of 260.
TEST_F(CliConvert, DocumentWithALongPathExportsAndImports) {
  fs::path folder = Native(tmp_.path());
  while (Utf8(folder).size() < 300 - 60) folder /= std::string(40, 'c');
  const std::string doc_name = std::string(300 - Utf8(folder).size() - 5, 'e') + ".xml";
  const fs::path doc = folder / doc_name;
  ASSERT_EQ(Utf8(doc).size(), 300u);
  fs::create_directories(fs::path(L"\\\\?\\" + folder.native()));
  fs::copy_file(kSample, fs::path(L"\\\\?\\" + doc.native()));

  RunResult r = Convert(Export(doc));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ListDir(work_), kExported);

  testing::MakeTimetable(work_, 3);
  r = Convert({"import", Utf8(doc), "--workdir", Utf8(work_)});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Proceso finalizado\n");
  const std::string after = ReadFile(fs::path(L"\\\\?\\" + doc.native()));
  EXPECT_NE(after.find("<time-table id=\"tt1\" name=\"Zeltimor\">"), std::string::npos);
  EXPECT_EQ(ListDir(fs::path(L"\\\\?\\" + folder.native())), std::vector<std::string>{doc_name});
}

}  // namespace
}  // namespace velquior
