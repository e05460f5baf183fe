#include "export/used_codes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/compare.h"
#include "text/encoding.h"
#include "text/text_helpers.h"

namespace velquior {
namespace {

using Case = UsedCodes::Case;

TEST(UsedCodesLookUp, FollowsTheLetterCaseRule) {
  UsedCodes sensitive(Case::kSensitive), insensitive(Case::kInsensitive);
  for (auto* list : {&sensitive, &insensitive}) {
    list->Add("Ajedre");
    list->Add(text::Utf8ToAnsi("ÉTICA"));
  }
  EXPECT_TRUE(sensitive.Contains("Ajedre"));
  EXPECT_FALSE(sensitive.Contains("ajedre"));
  EXPECT_FALSE(sensitive.Contains(text::Utf8ToAnsi("ética")));
  EXPECT_TRUE(insensitive.Contains("AJEDRE"));
  EXPECT_TRUE(insensitive.Contains(text::Utf8ToAnsi("ética")));
  EXPECT_FALSE(insensitive.Contains("etica"));
  EXPECT_FALSE(insensitive.Contains("Ajedr"));
  EXPECT_FALSE(insensitive.Contains(""));
}

TEST(UsedCodesLookUp, TrailingBlanksDoNotCountOtherBlanksDo) {
  UsedCodes list(Case::kSensitive);
  list.Add("ABCDE ");
  list.Add("");
  EXPECT_TRUE(list.Contains("ABCDE"));
  EXPECT_TRUE(list.Contains("ABCDE  "));
  EXPECT_FALSE(list.Contains(" ABCDE"));
  EXPECT_FALSE(list.Contains("ABC DE"));
  EXPECT_TRUE(list.Contains("   "));  // reads back as the empty code
  EXPECT_EQ(*list.Find("ABCDE"), "ABCDE ");
}

// The hash must answer exactly as a scan from the first entry.
const std::string* Scan(const std::vector<std::string>& codes, std::string_view code, Case rule) {
  std::string a = text::TrimTrailing(code);
  for (const std::string& listed : codes) {
    std::string b = text::TrimTrailing(listed);
    if (rule == Case::kSensitive ? a == b : text::EqualsNoCase(a, b)) return &listed;
  }
  return nullptr;
}

TEST(UsedCodesLookUp, HashAnswersAsTheScan) {
  // Short texts over an alphabet rich in case pairs, blanks and look-alikes.
  const std::string alphabet = text::Utf8ToAnsi("aAbB1 éÉñÑßÿŸ×÷");
  std::mt19937 rng(12345);
  auto random_code = [&] {
    std::string s;
    for (int n = static_cast<int>(rng() % 4); n > 0; --n) s += alphabet[rng() % alphabet.size()];
    return s;
  };
  for (Case rule : {Case::kSensitive, Case::kInsensitive}) {
    UsedCodes list(rule);
    for (int i = 0; i < 400; ++i) {
      std::string probe = random_code();
      const std::string* expected = Scan(list.codes(), probe, rule);
      const std::string* got = list.Find(probe);
      ASSERT_EQ(got, expected) << "probe '" << probe << "' after " << i;
      if (rng() % 2) list.Add(random_code());
    }
  }
}

}  // namespace
}  // namespace velquior
