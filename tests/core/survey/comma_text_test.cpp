#include "core/survey/comma_text.h"

#include <gtest/gtest.h>

#include <random>

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

using Lines = std::vector<std::string>;

TEST(CommaText, Writing) {
  struct Case {
    Lines lines;
    const char* text;
  };
  const Case cases[] = {
      {{"Yes", "No opinion", ""}, "Yes,\"No opinion\","},
      {{""}, "\"\""},
      {{}, ""},
      {{"a,b", "say \"hi\"", "tab\there"}, "\"a,b\",\"say \"\"hi\"\"\",\"tab\there\""},
      {{"", ""}, ","},
      {{"\xC3\xA9t\xC3\xA9"}, "\xC3\xA9t\xC3\xA9"},  // bytes above 127 need no quotes
  };
  for (const Case& c : cases) EXPECT_EQ(JoinCommaText(c.lines), c.text);
}

TEST(CommaText, Reading) {
  struct Case {
    const char* text;
    Lines lines;
  };
  const Case cases[] = {
      {"a,,b", {"a", "", "b"}},
      {"a b", {"a", "b"}},
      {"  a , b ", {"a", "b"}},
      {"Yes,\"No opinion\",", {"Yes", "No opinion"}},  // a trailing comma adds nothing
      {"\"\"", {""}},
      {"", {}},
      {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"\"unclosed, runs to the end", {"unclosed, runs to the end"}},
      {"\"a\"b,c", {"a", "b", "c"}},
      {",a", {"", "a"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommaText(c.text), c.lines) << c.text;
  EXPECT_EQ(SplitCommaText(std::string("a,b\0,c", 6)), (Lines{"a", "b"}));  // NUL ends it
}

TEST(CommaText, RoundTripOfAnyLinesThatDoNotEndEmpty) {
  const Lines samples[] = {{"one"}, {"with blank", "", "x,y", "\"q\"", " lead"},
                           {"\x01\x1f", "\x7f"}, {"", "last"}};
  for (const Lines& lines : samples) EXPECT_EQ(SplitCommaText(JoinCommaText(lines)), lines);
}

// Survey files keep option lists as "|"-ended lines; reading them straight
// into comma text must give what splitting and joining gives.
TEST(CommaText, FromBarsEqualsSplittingThenJoining) {
  for (const char* bars : {"", "|", "||", "Yes|No|", "Yes~Y|No~N|Perhaps|", "a b|\"q\"|,|",
                           "tail without bar", "one|tail", "|x|", "\t|"}) {
    EXPECT_EQ(CommaTextFromBars(bars), JoinCommaText(SplitAtBars(bars))) << bars;
  }
}

// And the way back, on random comma texts of quotes, commas, blanks, bars
// and letters.
TEST(CommaText, ToBarsEqualsSplittingThenJoining) {
  std::mt19937 random(4);
  const char alphabet[] = {'"', ',', ' ', '|', 'a', '\t', 'b'};
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 30); n > 0; --n) {
      text += alphabet[random() % sizeof alphabet];
    }
    EXPECT_EQ(BarsFromCommaText(text), JoinWithBars(SplitCommaText(text))) << text;
  }
}

TEST(CommaText, HostileInputTerminates) {
  std::string big(1 << 20, '"');
  EXPECT_LE(SplitCommaText(big).size(), big.size());
  std::string commas(1 << 16, ',');
  EXPECT_EQ(SplitCommaText(commas).size(), commas.size());
}

}  // namespace
}  // namespace quorvant
