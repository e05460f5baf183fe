#pragma once
// One entry of the history: what one run replaced, as its manifest tells.
//
// The manifest is UTF-8 text, one "key value" line each, so that a person
// can read it and an older entry stays readable:
//
//   velquior-historial 1
//   conversion exportar
//   fecha 2026-12-11 12:40:05
//   documento /home/ana/saga/escuela.xml
//   directorio /home/ana/ZTEMP
//   archivo 1 20480 <sha-256> /home/ana/ZTEMP/ASIGNOMT.DBF
//   nuevo /home/ana/ZTEMP/PROFT.DBF
//
// "archivo" is a file that existed, kept in the entry's folder under its
// number; "nuevo" one that did not exist before the run. In paths '%', CR
// and LF are written %25, %0D and %0A.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquior::history {

// What replaced the files: the names are the command words.
enum class Kind { kExport, kImport, kRestore };

struct Moment {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct FileRecord {
  std::filesystem::path original;  // full name
  bool existed = false;
  std::uint64_t size = 0;  // when it existed
  std::string sha256;      // lower-case hexadecimal, when it existed
  std::string stored;      // its copy's name in the entry's folder
};

struct Entry {
  std::filesystem::path folder;  // in the history
  Kind kind = Kind::kExport;
  Moment when;
  std::filesystem::path document;
  std::filesystem::path work_dir;
  std::vector<FileRecord> files;

  // Whether the entry's files are the SAGA document, not tables.
  bool HoldsDocument() const;
};

std::string_view KindWord(Kind kind);

// "2026-12-11 12:40:05", `between` separating the date from the time.
std::string MomentText(const Moment& moment, char between = ' ');  // "exportar", "importar", "restaurar"

std::string WriteManifest(const Entry& entry);
// nullopt when the text is not a manifest this program wrote.
std::optional<Entry> ReadManifest(std::string_view text);

// "Exportación del 11/12/2026 a las 12:40: seis tablas de C:\ZTEMP", in UTF-8.
std::string Describe(const Entry& entry);
// "Se ha puesto de nuevo lo que había antes de la exportación del ...".
std::string UndoneText(const Entry& entry);

}  // namespace velquior::history
