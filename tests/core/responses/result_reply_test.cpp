// The results reply: its lines, the check of its first line, the end of the
// data and the items of a submission line.
#include "core/responses/result_reply.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::WriteFileOrDie;

std::vector<std::string> ReadLines(const std::string& path) {
  ReplyLineReader reader(path);
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line)) lines.push_back(line);
  return lines;
}

TEST(ResultReplyTest, LinesEndAtCrLfOrEitherAlone) {
  testing::TempDir dir;
  const std::string file = dir.File("r.dat");
  WriteFileOrDie(file, "a\r\nb\nc\rd\r\n\r\ne");
  EXPECT_EQ(ReadLines(file), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  WriteFileOrDie(file, "");
  EXPECT_TRUE(ReadLines(file).empty());
  // A line far longer than the reader's buffer, with a CR LF split across
  // two buffer fills, comes back whole.
  const std::string long_line(200000, 'x');
  WriteFileOrDie(file, long_line.substr(0, 65535) + "\r\n" + long_line + "\r\nend");
  EXPECT_EQ(ReadLines(file),
            (std::vector<std::string>{long_line.substr(0, 65535), long_line, "end"}));
  EXPECT_THROW(ReplyLineReader(dir.File("missing.dat")), std::runtime_error);
}

TEST(ResultReplyTest, VerificationOfTheFirstLine) {
  testing::TempDir dir;
  const std::string file = dir.File("r.dat");
  struct Case {
    const char* reply;
    bool valid;
    const char* error;
  };
  const Case cases[] = {
      {"<DATA>\r\n</DATA>\r\n", true, ""},
      {"  <data>\r\n", true, ""},
      {"<ERROR>\r\nWrong password for S1.\r\n", false, "Error: Wrong password for S1."},
      {"<error>", false, "Error: "},
      {"<DATA><ERROR>\r\nboth\r\n", false, "Error: both"},
      {"<html><body>Not Found</body></html>", false, "Result information not properly formatted."},
      {"", false, "Result information not properly formatted."},
  };
  for (const Case& c : cases) {
    WriteFileOrDie(file, c.reply);
    const ResultVerification check = VerifyResultFile(file);
    EXPECT_EQ(check.valid, c.valid) << c.reply;
    if (!c.valid) {
      EXPECT_EQ(check.error, c.error) << c.reply;
    }
  }
  EXPECT_FALSE(VerifyResultFile(dir.File("missing.dat")).valid);
}

TEST(ResultReplyTest, OnlyALineStartingWithTheMarkerEndsTheData) {
  EXPECT_TRUE(IsEndOfData("</DATA>"));
  EXPECT_TRUE(IsEndOfData(" \t</data>  "));
  EXPECT_TRUE(IsEndOfData("</Data>trailing"));
  EXPECT_FALSE(IsEndOfData("RemoteAddr=1.2.3.4,qvx4=</DATA>"));
  EXPECT_FALSE(IsEndOfData("RemoteAddr=1.2.3.4,\"qvx4=a </DATA> b\""));
  EXPECT_FALSE(IsEndOfData("</DAT"));
  EXPECT_FALSE(IsEndOfData(""));
}

TEST(ResultReplyTest, SubmissionItemsByName) {
  struct Case {
    const char* name;
    const char* line;
    const char* agent;
    const char* remote;
    const char* answer;
  };
  const Case cases[] = {
      {"quoted item keeps its blanks", "\"UserAgent=Mozilla/5.0 (X11; Linux)\",RemoteAddr=10.0.0.1",
       "Mozilla/5.0 (X11; Linux)", "10.0.0.1", ""},
      {"unquoted item ends at its first blank", "UserAgent=Mozilla/5.0 (X11),RemoteAddr=10.0.0.1",
       "Mozilla/5.0", "10.0.0.1", ""},
      {"names ignore letter case", "useragent=a,REMOTEADDR=b,QVX4=c", "a", "b", "c"},
      {"first of a repeated name counts", "qvx4=first,qvx4=second", "", "", "first"},
      {"value keeps later equals signs", "qvx4=a=b", "", "", "a=b"},
      {"doubled quotes stand for one", "\"qvx4=say \"\"hi\"\"\"", "", "", "say \"hi\""},
      {"item without equals names nothing", "qvx4,UserAgent=x", "x", "", ""},
      {"empty items between commas", "qvx4=,,UserAgent=x", "x", "", ""},
      {"unterminated quote runs to the end", "UserAgent=x,\"qvx4=open, still", "x", "",
       "open, still"},
      {"control characters separate items", "\tqvx4=a\x01UserAgent=b", "b", "", "a"},
      {"empty line", "", "", "", ""},
  };
  SubmissionItems items;
  const int agent = items.Slot("UserAgent");
  const int remote = items.Slot("RemoteAddr");
  const int answer = items.Slot("qvx4");
  EXPECT_EQ(items.Slot("USERAGENT"), agent);
  for (const Case& c : cases) {
    items.Parse(c.line);
    EXPECT_EQ(items.Value(agent), c.agent) << c.name;
    EXPECT_EQ(items.Value(remote), c.remote) << c.name;
    EXPECT_EQ(items.Value(answer), c.answer) << c.name;
  }
}

TEST(ResultReplyTest, HostileLinesParseInLinearTime) {
  SubmissionItems items;
  const int slot = items.Slot("a");
  std::string line(1 << 20, '"');  // a megabyte of quotes
  items.Parse(line);
  line.assign(1 << 20, ',');
  items.Parse(line);
  std::string many;
  for (int i = 0; i < 100000; ++i) many += "a=" + std::to_string(i) + ",";
  items.Parse(many);
  EXPECT_EQ(items.Value(slot), "0");
  std::string binary;
  for (int i = 0; i < 65536; ++i) binary += static_cast<char>(i % 256);
  items.Parse(binary);
}

// Names registered after a parse, and more names than any first guess of
// the lookup table's size, are all found with their own values.
TEST(ResultReplyTest, EveryRegisteredNameKeepsItsOwnSlot) {
  SubmissionItems items;
  const int first = items.Slot("qvx1");
  items.Parse("qvx1=a,qvx2=b");
  std::vector<int> slots = {first};
  std::string line;
  for (int i = 2; i <= 3000; ++i) {
    slots.push_back(items.Slot("QVX" + std::to_string(i)));
    line += "qvx" + std::to_string(i) + "=v" + std::to_string(i) + ",";
  }
  items.Parse("QvX1=c," + line + "qvx3001=unasked");
  EXPECT_EQ(items.Value(first), "c");
  for (int i = 2; i <= 3000; ++i) {
    ASSERT_EQ(items.Value(slots[static_cast<size_t>(i - 1)]), "v" + std::to_string(i)) << i;
  }
  EXPECT_EQ(items.Slot("qvx1500"), slots[1499]);
}

}  // namespace
}  // namespace quorvant
