#include "core/publishing/mail_headers.h"

#include <gtest/gtest.h>

#include <random>

namespace quorvant {
namespace {

// Decodes the encoded words of a header value back to its text.
std::string DecodeWords(const std::string& value) {
  static const std::string digits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t pos = 0;
  while ((pos = value.find("=?UTF-8?B?", pos)) != std::string::npos) {
    size_t end = value.find("?=", pos + 10);
    uint32_t acc = 0;
    int bits = 0;
    for (size_t i = pos + 10; i < end && value[i] != '='; ++i) {
      acc = (acc << 6) | static_cast<uint32_t>(digits.find(value[i]));
      bits += 6;
      if (bits >= 8) {
        bits -= 8;
        out += static_cast<char>((acc >> bits) & 0xFF);
      }
    }
    pos = end + 2;
  }
  return out;
}

TEST(MailHeadersTest, NothingBreaksAHeaderLine) {
  EXPECT_EQ(HeaderSafeText("Ann\r\nBcc: x@y.z\tA\x7f\x01"), "AnnBcc: x@y.z A");
  EXPECT_EQ(EncodeHeaderText("Plain\r\nSubject"), "PlainSubject");
  EXPECT_EQ(FormatMailbox("Ann \"the\" Author\r\nBcc: x@y.z", "a@b.example"),
            "\"Ann \\\"the\\\" AuthorBcc: x@y.z\" <a@b.example>");
  EXPECT_EQ(FormatMailbox("  ", "a@b.example"), "a@b.example");
  EXPECT_EQ(FormatMailbox("Zo\xC3\xAB", "z@b.example"), "=?UTF-8?B?Wm/Dqw==?= <z@b.example>");
}

TEST(MailHeadersTest, EncodedWordsAreShortWholeCharactersAndDecodeBack) {
  std::mt19937 rng(17);
  const char* pieces[] = {"a", " ", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\r\n", "Z"};
  for (int round = 0; round < 200; ++round) {
    std::string text = "\xC3\xA9";
    std::string clean = text;
    int n = static_cast<int>(rng() % 120);
    for (int i = 0; i < n; ++i) {
      std::string piece = pieces[rng() % 7];
      text += piece;
      if (piece != "\r\n") clean += piece;
    }
    std::string value = EncodeHeaderText(text);
    EXPECT_EQ(DecodeWords(value), clean);
    size_t start = 0;
    while (true) {
      size_t fold = value.find("\r\n ", start);
      std::string word = value.substr(start, fold == std::string::npos ? fold : fold - start);
      EXPECT_LE(word.size(), 75u);
      EXPECT_TRUE(word.starts_with("=?UTF-8?B?") && word.ends_with("?=")) << word;
      if (fold == std::string::npos) break;
      start = fold + 3;
    }
  }
}

TEST(MailHeadersTest, PlausibleAddresses) {
  struct Row {
    const char* address;
    bool plausible;
  } rows[] = {{"a@b.example", true},
              {"first.last+tag@mail.b.example", true},
              {"", false},
              {"a@b", false},
              {"@b.example", false},
              {"a@@b.example", false},
              {"a@b@c.example", false},
              {"a b@c.example", false},
              {"a@b.example\r\n", false},
              {"<a@b.example>", false},
              {"a@b.example,c@d.example", false},
              {"a@.example", false},
              {"a@b.example.", false},
              {"a@b..example", false},
              {"a:b@c.example", false}};
  for (const Row& row : rows)
    EXPECT_EQ(PlausibleAddress(row.address), row.plausible) << row.address;
}

TEST(MailHeadersTest, RecipientFollowsTheLastClosingParenthesis) {
  EXPECT_EQ(RecipientOfToEntry("(Ann Author) a@b.example"), "a@b.example");
  EXPECT_EQ(RecipientOfToEntry("(Ann) (x) Author) a@b.example "), "a@b.example");
  EXPECT_EQ(RecipientOfToEntry(" a@b.example"), "a@b.example");
}

}  // namespace
}  // namespace quorvant
