#pragma once
// Codes that stay from one export to the next. The catalogue tables in the
// work directory remember which SAGA identifier had which code (IDSAGA beside
// COD or ABREV); an export that keeps codes gives every element whose
// identifier has a record there that record's code again, whatever its name
// has become, so the timetable built on the old codes still names the same
// elements. Elements without one get derived codes that avoid every kept one.
//
// Ties, decided here once: an identifier twice in the old table counts by its
// first record; twice in the document, the first element keeps the code and
// the later ones derive theirs; two identifiers holding one code (equal under
// the table's letter-case rule) leave it to the first element in document
// order; an empty old code or identifier keeps nothing.

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "conversion/reporter.h"
#include "export/codes.h"
#include "tables/catalog.h"
#include "xml/document.h"

namespace velquior {

struct KeptCode {
  std::string code;       // COD or ABREV, Windows-1252
  std::string long_code;  // CODLARGO, subjects only
};

// One catalogue's memory: identifier -> the code of its first record.
class KeptTable {
 public:
  // Empty identifiers and codes are not remembered; a later record of a
  // remembered identifier is ignored.
  void Remember(std::string id, KeptCode code);
  const KeptCode* Find(const std::string& id) const;
  std::size_t size() const { return by_id_.size(); }

 private:
  std::unordered_map<std::string, KeptCode> by_id_;
};

struct KeptCodes {
  KeptTable subjects, teachers, rooms, groups;
  // The memory of `table` (ASIGNOMT, PROFT, AULAT or GRUPOST); nullptr for another.
  const KeptTable* Of(const catalog::TableSpec& table) const;
};

// The four catalogues of `work_dir`, read with shared locks. A table that is
// not there keeps nothing; one that cannot be read keeps nothing and goes to
// `reporter` with the reason.
KeptCodes ReadKeptCodes(const std::filesystem::path& work_dir, Reporter& reporter);

// A code not kept, for people (UTF-8): the same on the command line and in
// the window.
std::string NotKeptLine(const CodeNotKept& not_kept);

// One builder's kept codes, decided for all its elements before any code is
// derived, so that a kept code always wins over a derived one.
class ElementCodes {
 public:
  // `nodes` are the builder's elements in document order; `kept` may be
  // null (nothing kept). Every kept code is listed in `assigner` at once;
  // the elements that lose theirs to a tie go to `reporter`.
  ElementCodes(const xml::NodeList& nodes, const KeptTable* kept, const catalog::TableSpec& table,
               std::string_view element, codes::CodeAssigner& assigner, Reporter& reporter);

  // The kept code of the element at `index`, or nullptr: derive it.
  const KeptCode* At(long index) const;

 private:
  std::vector<const KeptCode*> at_;
};

}  // namespace velquior
