#include "core/shell/text_helpers.h"

#include <gtest/gtest.h>

namespace quorvant {
namespace {

using Lines = std::vector<std::string>;

TEST(TextHelpers, BarLists) {
  EXPECT_EQ(JoinWithBars({"Yes", "No", "Not sure"}), "Yes|No|Not sure|");
  EXPECT_EQ(JoinWithBars({}), "");
  EXPECT_EQ(SplitAtBars("a|b|c"), (Lines{"a", "b"}));  // the c is dropped
  EXPECT_EQ(SplitAtBars("Yes|No|"), (Lines{"Yes", "No"}));
  EXPECT_EQ(SplitAtBars("Yes|No"), (Lines{"Yes"}));
  EXPECT_EQ(SplitAtBars("a||b|"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitAtBars(""), Lines{});
}

TEST(TextHelpers, StripTags) {
  EXPECT_EQ(StripTags("<p>Hello <b>you</b></p>"), "Hello you");
  EXPECT_EQ(StripTags("a < b"), "a ");  // an unclosed tag runs to the end
  EXPECT_EQ(StripTags("no tags"), "no tags");
}

TEST(TextHelpers, WidthsCountCharactersNotBytes) {
  EXPECT_EQ(FitToWidth("abcdef", 3), "abc");
  EXPECT_EQ(FitToWidth("ab", 4), "ab  ");
  EXPECT_EQ(FitToWidth("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");  // "été" never split
  EXPECT_EQ(Utf8Prefix("\xC3\xA9\xC3\xA9", 3), "\xC3\xA9");
  EXPECT_EQ(Utf8Length("\xC3\xA9t\xC3\xA9"), 3u);
  EXPECT_EQ(Utf8Length("\xFF\xFE"), 2u);  // invalid bytes count one each
  EXPECT_EQ(RepeatText("ab", 3), "ababab");
  EXPECT_EQ(RepeatText("ab", 0), "");
}

TEST(TextHelpers, NamesAndExtensions) {
  EXPECT_EQ(NameWithoutExtension("/home/a/report.final.htm"), "report.final");
  EXPECT_EQ(NameWithoutExtension("noext"), "noext");
  EXPECT_EQ(PathWithoutExtension("/home/a.b/report"), "/home/a.b/report");
  EXPECT_EQ(PathWithoutExtension("/home/a/report.htm"), "/home/a/report");
  EXPECT_EQ(EnsureHtmlExtension("report", ".htm"), "report.htm");
  EXPECT_EQ(EnsureHtmlExtension("report.HTML", ".htm"), "report.HTML");
  EXPECT_EQ(EnsureHtmlExtension("report.htm", ".html"), "report.htm");
  EXPECT_EQ(EnsureHtmlExtension("data.DBF", ".dbf"), "data.DBF");
  EXPECT_EQ(EnsureHtmlExtension("data.txt", ".dbf"), "data.txt.dbf");
  EXPECT_EQ(EnsureHtmlExtension("dir.v2/report", ".htm"), "dir.v2/report.htm");
}

TEST(TextHelpers, TildeAndLetters) {
  EXPECT_EQ(TextAfterTilde("Very satisfied~5"), "5");
  EXPECT_EQ(TextAfterTilde("a~b~c"), "b~c");
  EXPECT_EQ(TextAfterTilde("plain"), "plain");
  EXPECT_EQ(TextBeforeTilde("Very satisfied~5"), "Very satisfied");
  EXPECT_EQ(LetterFor(1), "a");
  EXPECT_EQ(LetterFor(26), "z");
}

TEST(TextHelpers, ReplaceAllGoesOnAfterTheInsertedText) {
  EXPECT_EQ(ReplaceAll("a-b-c", "-", "+"), "a+b+c");
  EXPECT_EQ(ReplaceAll("xx", "x", "xx"), "xxxx");  // terminates
  EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
  EXPECT_EQ(ReplaceAll("line&crlf;next&crlf;", "&crlf;", "\r"), "line\rnext\r");
}

TEST(TextHelpers, SplitLinesAcceptsEveryBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines(""), Lines{});
}

TEST(TextHelpers, ParseIntIsStrict) {
  int v = 7;
  EXPECT_TRUE(ParseInt("-12", v));
  EXPECT_EQ(v, -12);
  EXPECT_TRUE(ParseInt("+3", v));
  EXPECT_EQ(v, 3);
  for (const char* bad : {"", "12a", " 1", "2147483648", "-", "0x10"}) {
    EXPECT_FALSE(ParseInt(bad, v)) << bad;
  }
}

}  // namespace
}  // namespace quorvant
