#include "export/codes.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/export/worked_examples.h"
#include "text/compare.h"
#include "text/encoding.h"
#include "text/text_helpers.h"

namespace velquior::codes {
namespace {

using testing::NamedCode;

enum class Builder { kSubjects, kTeachers, kRooms, kGroups };

std::string BaseOf(Builder b, const std::string& name) {
  switch (b) {
    case Builder::kSubjects:
      return SubjectBase(name);
    case Builder::kTeachers:
      return TeacherBase(name);
    case Builder::kRooms:
      return RoomBase(name);
    case Builder::kGroups:
      return GroupBase(SplitGroupName(name));
  }
  return {};
}

std::string Assign(Builder b, CodeAssigner& codes, const std::string& base) {
  if (b == Builder::kSubjects) return codes.Subject(base);
  return b == Builder::kRooms ? codes.Room(base) : codes.Plain(base);
}

CodeAssigner AssignerFor(Builder b) {
  return CodeAssigner(b == Builder::kSubjects ? UsedCodes::Case::kSensitive : UsedCodes::Case::kInsensitive);
}

// Runs names (UTF-8) through one builder's derivation in document order.
void ExpectSequence(Builder b, const std::vector<NamedCode>& rows) {
  CodeAssigner codes = AssignerFor(b);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::string base = BaseOf(b, text::Utf8ToAnsi(rows[i].name));
    EXPECT_EQ(text::AnsiToUtf8(base), rows[i].base) << "row " << i + 1 << ": " << rows[i].name;
    EXPECT_EQ(text::AnsiToUtf8(Assign(b, codes, base)), rows[i].code) << "row " << i + 1 << ": " << rows[i].name;
  }
}

TEST(CodesWorkedExamples, EachBuilder) {
  ExpectSequence(Builder::kSubjects, testing::kSubjectExample);
  ExpectSequence(Builder::kTeachers, testing::kTeacherExample);
  ExpectSequence(Builder::kRooms, testing::kRoomExample);
  ExpectSequence(Builder::kGroups, testing::kGroupExample);
}

TEST(CodesEdgeCases, Subjects) {
  ExpectSequence(Builder::kSubjects,
                 {
                     {"X", "X", "X"},
                     {"x", "x", "x"},
                     {"X", "X", "X1"},  // case counts
                     {"ABCDEFGHIJKL", "ABCDEFGHIJ", "ABCDEFGHIJ"},
                     {"1ABCDEFGHIJKL", "1ABCDEFGHI", "1ABCDEFGHI"},
                     {"ABCDEFGHIJXYZ", "ABCDEFGHIJ", "ABCDEFGHI1"},  // the base gives way to the counter at 10
                     {"Año 1 2 3 4 5 6 7 8 9", "A123456789", "A123456789"},
                     {"Año 1 2 3 4 5 6 7 8 9", "A123456789", "A123456781"},  // ends in a digit: dropped
                     {"Ñandú", "Ñandú", "Ñandú"},
                     {"ÑANDÚ", "ÑAND", "ÑAND"},
                     {"ñandú", "ñandú", "ñandú"},
                     {"Taller  de 2 horas", "T d2h", "T d2h"},
                     {"lengua Castellana Literatura", "lCL", "lCL"},
                     {"", "", "1"},
                     {"", "", "2"},
                     {"1", "1", "3"},  // an empty name: the counter alone
                 });
}

TEST(CodesEdgeCases, TeachersAndRooms) {
  ExpectSequence(Builder::kTeachers, {
                                         {"pedro", "p", "p"},
                                         {"Paula", "P", "P1"},
                                         {"Ángel Ñúñez", "ÁÑ", "ÁÑ"},
                                         {"ángel ñúñez", "áñ", "áñ1"},
                                         {"ÿves œuvre", "ÿœ", "ÿœ"},
                                         {"Ÿves Œuvre", "ŸŒ", "ŸŒ1"},
                                         {"Éva Sanz", "ÉS", "ÉS"},
                                         {"Eva Sanz", "ES", "ES"},
                                         {"a b c d e f g h i j k l", "abcdefghij", "abcdefghij"},
                                         {"A B C D E F G H I J", "ABCDEFGHIJ", "ABCDEFGHI1"},
                                         // A blank at the cut reads back away, so the shorter base collides with it.
                                         {"A B C D E F G H I  J", "ABCDEFGHI ", "ABCDEFGHI "},
                                         {"A B C D E F G H I", "ABCDEFGHI", "ABCDEFGHI2"},
                                     });
  ExpectSequence(Builder::kRooms, {
                                      {"Gimnasio", "Gimnas", "Gimnas"},
                                      {"GIMNASIO", "GIMNAS", "GIMNA1"},
                                      {"Ñ", "Ñ", "Ñ"},
                                      {"ñ", "ñ", "1"},
                                      {"A B C D E F G H I J K", "ABCDEFGHIJK", "ABCDEFGHIJ"},
                                      {"a b c d e f g h i j k", "abcdefghijk", "abcdefghi1"},
                                      {"Sala  1", "S 1", "S 1"},
                                      {"sala  1", "s 1", "s 2"},
                                  });
}

TEST(CodesEdgeCases, Groups) {
  ExpectSequence(Builder::kGroups, {
                                       {"ABCDE A", "ABCDE ", "ABCDE "},
                                       {"ABC DE", "ABCDE", "ABCDE1"},
                                       {"abc de", "abcde", "abcde2"},
                                       {"Ñ 2ª", "Ñ2ª", "Ñ2ª"},
                                       {"ñ 2ª", "ñ2ª", "ñ2ª1"},
                                       {"SECUNDARIA 2B", "SECUND", "SECUND"},
                                   });
  struct Split {
    std::string name, level, course, letter;
  };
  for (const Split& r :
       {Split{"ESO 1A", "ESO", "1", "A"}, Split{"PRIMARIA 3B", "PRIMARIA", "3", "B"}, Split{"4 ESO", "4", "S", "O"},
        Split{"1ESOA", "1", "O", "A"}, Split{"A", "A", "A", "A"}, Split{"", "", "", ""},
        Split{"1º ESO A", "1º", " ", "A"}, Split{"BACH  2C", "BACH", "2", "C"}}) {
    GroupName g = SplitGroupName(text::Utf8ToAnsi(r.name));
    EXPECT_EQ(text::AnsiToUtf8(g.level) + "|" + text::AnsiToUtf8(g.course) + "|" + text::AnsiToUtf8(g.letter),
              r.level + "|" + r.course + "|" + r.letter)
        << r.name;
  }
}

TEST(CodesCounters, PastNineAndAtTheLimit) {
  struct Row {
    Builder builder;
    std::string name;
    std::vector<std::string> first_twelve;  // only the ones checked; "" skips
  };
  auto counted = [](const std::string& stem, int from, int to) {
    std::vector<std::string> v;
    for (int i = from; i <= to; ++i) v.push_back(stem + std::to_string(i));
    return v;
  };
  std::vector<std::string> subjects = counted("I", 1, 12);
  std::vector<std::string> rooms = counted("A", 1, 12);
  std::vector<std::string> limit = {"ABCDEFGHIJ"};
  for (auto& c : counted("ABCDEFGHI", 1, 9)) limit.push_back(c);
  limit.insert(limit.end(), {"ABCDEFGH10", "ABCDEFGH11"});
  const Row rows[] = {{Builder::kSubjects, "Inglés 1", subjects},
                      {Builder::kRooms, "Aula 1", rooms},
                      {Builder::kSubjects, "ABCDEFGHIJ", limit},
                      {Builder::kTeachers, "A B C D E F G H I J", limit},
                      {Builder::kRooms, "A B C D E F G H I J", limit}};
  for (const Row& r : rows) {
    CodeAssigner codes = AssignerFor(r.builder);
    std::vector<std::string> got;
    for (int i = 0; i < 12; ++i) got.push_back(Assign(r.builder, codes, BaseOf(r.builder, text::Utf8ToAnsi(r.name))));
    EXPECT_EQ(got, r.first_twelve) << r.name;
  }
}

TEST(CodesCounters, TenThousandOfOneBaseStayUniqueWithinTen) {
  CodeAssigner codes(UsedCodes::Case::kInsensitive);
  std::set<std::string> seen;
  std::string last;
  for (int i = 0; i <= 10001; ++i) {
    last = codes.Plain(GroupBase(SplitGroupName(i % 2 ? "PRIMARIA 3B" : "primaria 3b")));
    ASSERT_LE(last.size(), 10u);
    ASSERT_TRUE(seen.insert(text::FoldKey(last)).second) << last;
  }
  EXPECT_EQ(last, "PRIMA10001");
  struct Counted {
    const char* base;
    long counter;
    const char* out;
  };
  for (const Counted& c : {Counted{"ABC", 1, "ABC1"}, Counted{"", 7, "7"}, Counted{"ABCDEFGHI", 10, "ABCDEFGH10"},
                           Counted{"ABCDEFGHIJKLM", 123, "ABCDEFG123"}, Counted{"ABCDEFGH ", 1, "ABCDEFGH 1"}}) {
    EXPECT_EQ(WithCounter(c.base, c.counter), c.out);
  }
}

// The rules read plainly: a scan of the used codes for every candidate.
class ReferenceCodes {
 public:
  explicit ReferenceCodes(Builder b) : b_(b) {}
  std::string Next(const std::string& name) {
    std::string base = text::HeadChars(BaseOf(b_, name), 10);
    if (b_ == Builder::kSubjects && base.empty()) return Counter("");
    const std::string* listed = Listed(base);
    if (listed == nullptr) return Take(base);
    bool drop = b_ == Builder::kRooms ||
                (b_ == Builder::kSubjects && !listed->empty() && listed->back() >= '0' && listed->back() <= '9');
    if (drop && !base.empty()) base.pop_back();
    return Counter(base);
  }

 private:
  const std::string* Listed(const std::string& code) const {
    std::string a = text::TrimTrailing(code);
    for (const std::string& u : used_) {
      std::string b = text::TrimTrailing(u);
      if (b_ == Builder::kSubjects ? a == b : text::EqualsNoCase(a, b)) return &u;
    }
    return nullptr;
  }
  std::string Counter(const std::string& base) {
    for (long k = 1;; ++k) {
      std::string digits = std::to_string(k);
      std::string c = text::HeadChars(base, 10 - static_cast<long>(digits.size())) + digits;
      if (Listed(c) == nullptr) return Take(c);
    }
  }
  std::string Take(const std::string& c) {
    used_.push_back(c);
    return c;
  }
  Builder b_;
  std::vector<std::string> used_;
};

TEST(CodesAssigner, AgreesWithThePlainRulesOnRandomNames) {
  // Few distinct words, so that bases collide often and counters run high.
  const std::vector<std::string> words = {
      "Aula", "aula",       "1",           "12", "B", "b", text::Utf8ToAnsi("Ñu"), text::Utf8ToAnsi("ñU"),
      "",     "ABCDEFGHIJ", "abcdefghijk", "X9", "9"};
  std::mt19937 rng(2024);
  for (Builder b : {Builder::kSubjects, Builder::kTeachers, Builder::kRooms, Builder::kGroups}) {
    CodeAssigner codes = AssignerFor(b);
    ReferenceCodes reference(b);
    for (int i = 0; i < 1200; ++i) {
      std::string name;
      for (int n = static_cast<int>(rng() % 4); n >= 0; --n) {
        if (!name.empty()) name += rng() % 5 ? " " : "  ";
        name += words[rng() % words.size()];
      }
      name = text::TrimBoth(name);
      std::string code = Assign(b, codes, BaseOf(b, name));
      ASSERT_EQ(code, reference.Next(name)) << "builder " << static_cast<int>(b) << " name '" << name << "'";
      ASSERT_LE(code.size(), 10u);
    }
  }
}

}  // namespace
}  // namespace velquior::codes
