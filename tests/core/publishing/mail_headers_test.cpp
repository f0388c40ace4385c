#include "core/publishing/mail_headers.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <set>

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

// The mailbox grammar of RFC 5321 (4.1.2, 4.1.3) written out as one
// regular expression over ASCII, as the plain reference for ValidMailbox().
const std::regex& MailboxReference() {
  static const std::string atext = "[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]";
  static const std::string dot_string = atext + "+(\\." + atext + "+)*";
  static const std::string quoted = "\"([\\x20\\x21\\x23-\\x5B\\x5D-\\x7E]|\\\\[\\x20-\\x7E])*\"";
  static const std::string label = "[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?";
  static const std::string domain = label + "(\\." + label + ")*";
  static const std::string snum = "(25[0-5]|2[0-4][0-9]|[01]?[0-9]?[0-9])";
  static const std::string ipv4 = snum + "(\\." + snum + "){3}";
  static const std::string general = "[A-Za-z0-9-]*[A-Za-z0-9]:[\\x21-\\x5A\\x5E-\\x7E]+";
  static const std::regex reference("(" + dot_string + "|" + quoted + ")@(" + domain + "|\\[(" +
                                    ipv4 + "|" + general + ")\\])");
  return reference;
}

TEST(MailHeadersTest, ValidMailboxesAreThoseOfTheSmtpGrammar) {
  struct Row {
    const char* address;
    bool valid;
  } rows[] = {{"a@b.example", true},
              {"first.last+tag@mail.b.example", true},
              {"user@mailhost", true},
              {"o'brien@x-ray.example", true},
              {"\"john doe\"@example.org", true},
              {"\"a\\\"b@c\"@example.org", true},
              {"a@[192.0.2.1]", true},
              {"a@[IPv6:2001:db8::1]", true},
              {"j\xC3\xB6rg@m\xC3\xBCller.example", true},
              {"", false},
              {"@b.example", false},
              {"a@", false},
              {"a@@b.example", false},
              {"a@b@c.example", false},
              {"a b@c.example", false},
              {"a@b.example\r\n", false},
              {"a@b.example\r\nBcc: c@d.example", false},
              {"\"a\r\nBcc: c@d.example\"@e.example", false},
              {"\"a\\\r\"@e.example", false},
              {"<a@b.example>", false},
              {"a@b.example,c@d.example", false},
              {"a@.example", false},
              {"a@b.example.", false},
              {"a@b..example", false},
              {"a@-b.example", false},
              {"a@b-.example", false},
              {".a@b.example", false},
              {"a..b@c.example", false},
              {"a:b@c.example", false},
              {"a@[192.0.2.256]", false},
              {"a@[1.2.3]", false},
              {"\"a\"b@c.example", false}};
  for (const Row& row : rows) EXPECT_EQ(ValidMailbox(row.address), row.valid) << row.address;

  // Random texts over the characters that matter, against the grammar:
  // mostly a local part and a domain around one "@", some wholly random.
  std::mt19937 rng(5321);
  auto random_text = [&rng](const std::string& alphabet, size_t most) {
    std::string text;
    for (size_t n = rng() % (most + 1); n > 0; --n) text += alphabet[rng() % alphabet.size()];
    return text;
  };
  int valid = 0;
  for (int round = 0; round < 100000; ++round) {
    std::string text = round % 5 == 0
                           ? random_text("ab9.@\"\\ -[]:,<>()\r\n\t!#~", 9)
                           : random_text("ab.\"\\ -!~(", 5) + "@" + random_text("ab9.-[]:\r", 6);
    bool expected = std::regex_match(text, MailboxReference());
    valid += expected;
    ASSERT_EQ(ValidMailbox(text), expected) << "[" << text << "]";
    if (expected) {
      ASSERT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
      ASSERT_EQ(ToHeaderOfEntry("(A B) " + text), "\"A B\" <" + text + ">");
      ASSERT_EQ(RecipientOfToEntry("(A) B) " + text), text);
    }
  }
  EXPECT_GT(valid, 500) << "the random texts reach valid mailboxes";
}

TEST(MailHeadersTest, DateAndMessageIdHeaders) {
  EXPECT_EQ(DateHeaderValue(912694502), "Thu, 03 Dec 1998 14:15:02 +0000");
  EXPECT_EQ(DateHeaderValue(0), "Thu, 01 Jan 1970 00:00:00 +0000");
  EXPECT_EQ(DateHeaderValue(951782400), "Tue, 29 Feb 2000 00:00:00 +0000");
  std::set<std::string> ids;
  for (const char* reply : {"ann@example.org", "\"a@b\"@mailhost", "x@[192.0.2.1]"}) {
    std::string id = NewMessageId(reply);
    std::string domain = std::string(reply).substr(std::string(reply).rfind('@') + 1);
    EXPECT_TRUE(id.starts_with("<") && id.ends_with("@" + domain + ">")) << id;
    EXPECT_TRUE(std::regex_match(id.substr(1, id.find('@') - 1), std::regex("[0-9a-f.]+"))) << id;
    ids.insert(id);
    ids.insert(NewMessageId(reply));
  }
  EXPECT_EQ(ids.size(), 6u) << "every identifier differs";
}

TEST(MailHeadersTest, RecipientFollowsTheLastClosingParenthesis) {
  EXPECT_EQ(RecipientOfToEntry("(Ann Author) a@b.example"), "a@b.example");
  EXPECT_EQ(RecipientOfToEntry("(Ann) (x) Author) a@b.example "), "a@b.example");
  EXPECT_EQ(RecipientOfToEntry(" a@b.example"), "a@b.example");
}

}  // namespace
}  // namespace quorvant
