#pragma once
// Short codes derived from names: the base code of each builder and the step
// that makes a base unique within its table. Pure over Windows-1252 texts.
//
// Every code fits its 10-character field as given: a longer base is cut to
// its first 10 characters before the uniqueness step, and when "base followed
// by counter" would pass 10 characters the base is cut from its end so that
// both together have exactly 10. Shorter codes are untouched by this.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "export/used_codes.h"

namespace velquior::codes {

inline constexpr std::ptrdiff_t kCodeWidth = 10;  // COD of ASIGNOMT, ABREV of the others

// Subjects: the first character when it is not A-Z, then the capitals A-Z of
// the name; a single character so far becomes the first 6 characters (no
// blank in the name) or the first character and the characters after blanks.
std::string SubjectBase(std::string_view name);
// The same before the cut to 10: longer when the cut lost characters.
std::string SubjectBaseUncut(std::string_view name);

// Teachers: the first character and the character after every blank, cut to 10.
std::string TeacherBase(std::string_view name);
std::string TeacherBaseUncut(std::string_view name);

// Rooms: those initials, not cut, or the first 6 characters of the name when
// the initials have fewer than 2 characters.
std::string RoomBase(std::string_view name);

// A group's name split into NIVEL, CURSO and GRUPO (uncut).
struct GroupName {
  std::string level;   // before the first blank; the first character without blank
  std::string course;  // the next-to-last character (the only one of a 1-character name)
  std::string letter;  // the last character
};
GroupName SplitGroupName(std::string_view name);

// Groups: level, course and letter joined, cut to 6.
std::string GroupBase(const GroupName& name);

// `base` followed by `counter` in decimal, the base cut from its end so that
// the result has at most kCodeWidth characters.
std::string WithCounter(std::string_view base, long counter);

// One builder's uniqueness step over its used-code list. Each call returns a
// code not yet listed and lists it.
class CodeAssigner {
 public:
  explicit CodeAssigner(UsedCodes::Case rule) : used_(rule) {}

  // Subjects: a used base loses its last character when the listed code it
  // matched ends in a digit, then takes the first free counter 1, 2, ...
  // An empty base (empty name) takes the first free counter alone.
  std::string Subject(std::string_view base);

  // Teachers and groups: a used base takes the first free counter.
  std::string Plain(std::string_view base);

  // Rooms: a used base loses its last character, then takes the first free
  // counter.
  std::string Room(std::string_view base);

  // Lists a code kept from the work directory as it stands, before any code
  // is derived, so that derived codes avoid it.
  void Reserve(std::string code) { used_.Add(std::move(code)); }

  const UsedCodes& used() const { return used_; }

 private:
  std::string Take(std::string code);
  std::string FirstFreeWithCounter(std::string_view base);

  UsedCodes used_;
  // Per base (as the list compares it): every counter below this one gives a
  // listed code. Codes are never unlisted, so searches resume there.
  std::unordered_map<std::string, long> next_counter_;
};

}  // namespace velquior::codes
