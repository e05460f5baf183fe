#include "export/codes.h"

#include "tables/catalog.h"
#include "text/compare.h"
#include "text/text_helpers.h"

namespace velquior::codes {
namespace {

static_assert(catalog::kAsignomtFields[0].width == kCodeWidth);
static_assert(catalog::kProftFields[0].width == kCodeWidth);
static_assert(catalog::kAulatFields[0].width == kCodeWidth);
static_assert(catalog::kGrupostFields[0].width == kCodeWidth);

constexpr std::ptrdiff_t kShortNameChars = 6;
constexpr std::ptrdiff_t kGroupBaseChars = 6;

bool IsCapitalAZ(char c) {
  auto b = static_cast<unsigned char>(c);
  return b >= 'A' && b <= 'Z';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool HasBlank(std::string_view s) { return s.find(' ') != std::string_view::npos; }

// The first character and the character after every blank.
std::string Initials(std::string_view name) {
  if (name.empty()) return {};
  return std::string(1, name.front()) + text::LettersAfterBlanks(name);
}

}  // namespace

std::string SubjectBaseUncut(std::string_view name) {
  if (name.empty()) return {};
  std::string code;
  if (!IsCapitalAZ(name.front())) code += name.front();
  code += text::UpperLetters(name);
  if (code.size() == 1) code = HasBlank(name) ? Initials(name) : text::HeadChars(name, kShortNameChars);
  return code;
}

std::string SubjectBase(std::string_view name) { return text::HeadChars(SubjectBaseUncut(name), kCodeWidth); }

std::string TeacherBaseUncut(std::string_view name) { return Initials(name); }

std::string TeacherBase(std::string_view name) { return text::HeadChars(TeacherBaseUncut(name), kCodeWidth); }

std::string RoomBase(std::string_view name) {
  std::string initials = Initials(name);
  return initials.size() < 2 ? text::HeadChars(name, kShortNameChars) : initials;
}

GroupName SplitGroupName(std::string_view name) {
  GroupName out;
  if (name.empty()) return out;
  std::size_t course_index = name.size() >= 2 ? name.size() - 2 : 0;
  out.course = std::string(1, name[course_index]);
  std::size_t blank = name.find(' ');
  out.level = blank == std::string_view::npos
                  ? text::HeadChars(name, 1)
                  : text::TrimBoth(text::HeadChars(name, static_cast<std::ptrdiff_t>(blank) + 1));
  out.letter = text::TailChars(name, 1);
  return out;
}

std::string GroupBase(const GroupName& name) {
  return text::HeadChars(name.level + name.course + name.letter, kGroupBaseChars);
}

std::string WithCounter(std::string_view base, long counter) {
  std::string digits = std::to_string(counter);
  auto room = kCodeWidth - static_cast<std::ptrdiff_t>(digits.size());
  return text::HeadChars(base, room) + digits;
}

std::string CodeAssigner::Take(std::string code) {
  used_.Add(code);
  return code;
}

std::string CodeAssigner::FirstFreeWithCounter(std::string_view base) {
  // Bases that compare equal give candidates that compare equal, so they
  // share one resume point. Trailing blanks do count here: "A " + 1 is not A1.
  std::string key = used_.rule() == UsedCodes::Case::kInsensitive ? text::FoldKey(base) : std::string(base);
  long& next = next_counter_.try_emplace(std::move(key), 1).first->second;
  long counter = next;
  std::string candidate = WithCounter(base, counter);
  while (used_.Contains(candidate)) candidate = WithCounter(base, ++counter);
  next = counter + 1;
  return Take(std::move(candidate));
}

std::string CodeAssigner::Subject(std::string_view base_in) {
  std::string base = text::HeadChars(base_in, kCodeWidth);
  if (base.empty()) return FirstFreeWithCounter(base);
  const std::string* listed = used_.Find(base);
  if (listed == nullptr) return Take(std::move(base));
  if (!listed->empty() && IsDigit(listed->back())) base.pop_back();
  return FirstFreeWithCounter(base);
}

std::string CodeAssigner::Plain(std::string_view base_in) {
  std::string base = text::HeadChars(base_in, kCodeWidth);
  if (!used_.Contains(base)) return Take(std::move(base));
  return FirstFreeWithCounter(base);
}

std::string CodeAssigner::Room(std::string_view base_in) {
  std::string base = text::HeadChars(base_in, kCodeWidth);
  if (!used_.Contains(base)) return Take(std::move(base));
  if (!base.empty()) base.pop_back();
  return FirstFreeWithCounter(base);
}

}  // namespace velquior::codes
