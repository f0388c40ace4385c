// Comma-separated and fixed-column import and export of e-mail lists.
#include "core/emaillists/email_list_transfer.h"

#include <gtest/gtest.h>

#include <random>

#include "core/emaillists/csv_text.h"
#include "core/emaillists/email_list.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class EmailTransferTest : public testing::CoreTest {
 protected:
  void SetUp() override { ASSERT_TRUE(list_.Create(dir_.File("l.eml"))); }

  std::string Dump() {
    std::string out;
    for (const uint32_t recno : list_.RowsInOrder()) {
      const EmailRecord r = list_.Read(recno);
      out += "[" + r[0] + "][" + r[1] + "][" + r[2] + "]\n";
    }
    return out;
  }

  size_t Import(const std::string& text) {
    testing::WriteFileOrDie(dir_.File("in.csv"), text);
    return ImportEmailCsv(list_, dir_.File("in.csv")).added;
  }

  testing::ScriptedPrompts prompts_;
  TEmailList list_{prompts_};
};

TEST_F(EmailTransferTest, ImportReadsSpreadsheetFiles) {
  struct Case {
    const char* name;
    std::string text;
    size_t added;
    std::string rows;
  };
  const Case cases[] = {
      {"header only", "FNAME,LNAME,EMAIL\r\n", 0, ""},
      {"header without line break", "First,Last,Mail", 0, ""},
      {"four values keep three", "h\r\nAl,Bo,ab@x,extra,more\r\n", 1, "[Al][Bo][ab@x]\n"},
      {"missing values are empty", "h\nCy\n", 1, "[Cy][][]\n"},
      {"quoted values as RFC 4180", "h\n\"Smith, Jr.\",\"say \"\"hi\"\"\",\"a@x\"\n", 1,
       "[Smith, Jr.][say \"hi\"][a@x]\n"},
      {"line break inside quotes", "h\r\n\"two\r\nlines\",B,c@x\r\n", 1,
       "[two\r\nlines][B][c@x]\n"},
      {"byte-order mark, CR line ends", "\xEF\xBB\xBFh\rDo,Ed,de@x\rFe,Gu,fg@x", 2,
       "[Do][Ed][de@x]\n[Fe][Gu][fg@x]\n"},
      {"empty and blank lines add nothing", "h\n\n   \r\nHa,Io,hi@x\n\n", 1, "[Ha][Io][hi@x]\n"},
      {"leading blanks stay, trailing controls go", "h\n  Jo,Ku,jk@x \t\r\n", 1,
       "[  Jo][Ku][jk@x]\n"},
      {"quote inside a plain value is kept", "h\nO\"Neil,Li,ol@x\n", 1, "[O\"Neil][Li][ol@x]\n"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(list_.Create(dir_.File("l.eml")));
    EXPECT_EQ(Import(c.text), c.added) << c.name;
    EXPECT_EQ(Dump(), c.rows) << c.name;
  }
}

TEST_F(EmailTransferTest, LongValuesAreCutAtACharacterBoundary) {
  // 29 ASCII bytes and a two-byte character: 31 bytes for a 30-byte field.
  const std::string name = std::string(29, 'x') + "\xC3\xA9";
  Import("h\n" + name + ",b," + std::string(250, 'm') + "\n");
  const EmailRecord r = list_.Read(1);
  EXPECT_EQ(r[0], std::string(29, 'x'));
  EXPECT_EQ(r[2], std::string(200, 'm'));
}

TEST_F(EmailTransferTest, TextExportHasFixedColumnsInTheActiveOrder) {
  list_.AppendAll(
      {{std::string(35, 'N'), "Zorn", "z@x"}, {"Émile", "Abel", "a@x"}, {"Gone", "Gone", "g@x"}});
  list_.Delete({3});
  list_.SetSortField(1);
  ExportEmailText(list_, dir_.File("out.txt"));
  auto col = [](const std::string& s, size_t n) { return s + std::string(n - s.size(), ' '); };
  const std::string expected =
      col("FNAME", 30) + col("LNAME", 30) + col("EMAIL", 200) + "\r\n" + std::string(29, '-') +
      " " + std::string(29, '-') + " " + std::string(199, '-') + " \r\n" +
      // "Émile" is five characters in six bytes: padded to 30 characters.
      "\xC3\x89mile" + std::string(25, ' ') + col("Abel", 30) + col("a@x", 200) + "\r\n" +
      std::string(30, 'N') + col("Zorn", 30) + col("z@x", 200) + "\r\n";
  EXPECT_EQ(testing::ReadFileOrDie(dir_.File("out.txt")), expected);
}

TEST_F(EmailTransferTest, CsvExportQuotesOnlyWhatNeedsIt) {
  list_.AppendAll({{"Ann", "Smith, Jr.", "a@x"}, {"Bo \"B\"", "Young", "b@x"}});
  list_.SetSortField(2);
  ExportEmailCsv(list_, dir_.File("out.csv"));
  EXPECT_EQ(testing::ReadFileOrDie(dir_.File("out.csv")),
            "FNAME,LNAME,EMAIL\r\nAnn,\"Smith, Jr.\",a@x\r\n\"Bo \"\"B\"\"\",Young,b@x\r\n");
}

// Random names with commas, quotes, line breaks and non-ASCII letters come
// back from an export and import unchanged.
TEST_F(EmailTransferTest, CsvRoundTripKeepsEveryValue) {
  std::mt19937 rng(3);
  const std::vector<std::string> pieces = {"a",  "Z", ",", "\"", " ", "\r\n",
                                           "\n", "é", "ß", "'",  ";", "日本"};
  auto value = [&](int max_bytes) {
    std::string v;
    for (int n = static_cast<int>(rng() % 8); n > 0; --n) {
      const std::string& p = pieces[rng() % pieces.size()];
      if (v.size() + p.size() > static_cast<size_t>(max_bytes)) break;
      v += p;
    }
    // A value must begin and end with something the field keeps.
    return "x" + v + "x";
  };
  std::vector<EmailRecord> people;
  for (int i = 0; i < 200; ++i) people.push_back({value(26), value(26), value(190)});
  list_.AppendAll(people);
  const std::string before = Dump();
  ExportEmailCsv(list_, dir_.File("round.csv"));
  ASSERT_TRUE(list_.Create(dir_.File("back.eml")));
  EXPECT_EQ(ImportEmailCsv(list_, dir_.File("round.csv")).added, people.size());
  EXPECT_EQ(Dump(), before);
}

TEST_F(EmailTransferTest, UnreadableOrUnwritableFilesAreErrors) {
  EXPECT_THROW(ImportEmailCsv(list_, dir_.File("missing.csv")), std::runtime_error);
  EXPECT_EQ(list_.RecordCount(), 0u);
  EXPECT_THROW(ExportEmailCsv(list_, dir_.File("no/dir/out.csv")), std::runtime_error);
}

// A quote that is never closed costs only its own line: the line is read
// as plain text, every later person is added, and the line is named.
TEST_F(EmailTransferTest, UnclosedQuoteMendsItsLineOnly) {
  struct Case {
    const char* name;
    std::string text;
    std::string rows;
    size_t added;
    std::vector<size_t> mended;
  };
  const Case cases[] = {
      {"first value",
       "h\nAnn,Lee,al@x\n\"Bo,Ng,bn@x\nCy,Day,cd@x\n",
       "[Ann][Lee][al@x]\n[\"Bo][Ng][bn@x]\n[Cy][Day][cd@x]\n",
       3,
       {3}},
      {"middle value, CR LF",
       "h\r\nAl,\"Bo,c@x\r\nDe,Ed,de@x\r\n",
       "[Al][\"Bo][c@x]\n[De][Ed][de@x]\n",
       2,
       {2}},
      {"after a quoted line break",
       "h\n\"two\nlines\",\"open,x\rNext,One,n@x",
       "[Next][One][n@x]\n[two\nlines][\"open][x]\n",
       2,
       {3}},
      {"last line", "h\nAl,Bo,ab@x\nCy,\"Di", "[Cy][\"Di][]\n[Al][Bo][ab@x]\n", 2, {3}},
      {"doubled quotes after it",
       "h\n\"Al,Bo\nCy,\"\"\"\",e@x\n",
       "[\"Al][Bo][]\n[Cy][\"][e@x]\n",
       2,
       {2}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(list_.Create(dir_.File("l.eml")));
    testing::WriteFileOrDie(dir_.File("in.csv"), c.text);
    const EmailImport got = ImportEmailCsv(list_, dir_.File("in.csv"));
    list_.SetSortField(2);
    EXPECT_EQ(Dump(), c.rows) << c.name;
    EXPECT_EQ(got.mended_lines, c.mended) << c.name;
    EXPECT_EQ(got.added, c.added) << c.name;
  }
  EXPECT_EQ(EmailImportReport({5, {3}}),
            "Line 3 has a quote that is never closed; it was read as plain text\n"
            "Imported 5 records");
  EXPECT_EQ(EmailImportReport({0, {}}), "Imported 0 records");
}

// Random lists, quoted values before the broken line and plain ones after
// it, against a plain reading of every line.
TEST_F(EmailTransferTest, UnclosedQuoteAgainstAPlainReading) {
  std::mt19937 rng(11);
  const std::vector<std::string> pieces = {"a", "Z", " ", "é", "'", ";", "日本", "-"};
  auto word = [&] {
    std::string w = "x";
    for (int n = static_cast<int>(rng() % 4); n > 0; --n) w += pieces[rng() % pieces.size()];
    return w + "x";
  };
  for (int round = 0; round < 20; ++round) {
    const size_t count = 1 + rng() % 60;
    const size_t broken = rng() % count;
    const int field = static_cast<int>(rng() % 3);
    std::string text = "FNAME,LNAME,EMAIL\r\n";
    std::vector<EmailRecord> expected;
    for (size_t i = 0; i < count; ++i) {
      EmailRecord r{word(), word(), word() + "@x"};
      std::string line;
      for (int f = 0; f < 3; ++f) {
        std::string v = r[static_cast<size_t>(f)];
        if (i == broken && f == field) {
          r[static_cast<size_t>(f)] = v = "\"" + v;
        } else if (i < broken && rng() % 2) {
          r[static_cast<size_t>(f)] = v + ",";
          v = "\"" + v + ",\"";
        }
        line += (f > 0 ? "," : "") + v;
      }
      text += line + (rng() % 2 ? "\r\n" : "\n");
      expected.push_back(r);
    }
    ASSERT_TRUE(list_.Create(dir_.File("l.eml")));
    testing::WriteFileOrDie(dir_.File("in.csv"), text);
    const EmailImport got = ImportEmailCsv(list_, dir_.File("in.csv"));
    EXPECT_EQ(got.added, count);
    EXPECT_EQ(got.mended_lines, std::vector<size_t>{broken + 2});
    std::vector<EmailRecord> read;
    for (uint32_t recno = 1; recno <= list_.RecordCount(); ++recno)
      read.push_back(list_.Read(recno));
    EXPECT_EQ(read, expected) << text;
  }
}

TEST(CsvText, ParsesLeniently) {
  EXPECT_EQ(ParseCsv("a,\"b\"c,\"open"), (std::vector<CsvRecord>{{"a", "bc", "\"open"}}));
  EXPECT_EQ(ParseCsvText("a,\"b\"c,\"open").mended_lines, std::vector<size_t>{1});
  EXPECT_EQ(ParseCsv("\n\"\"\n"), (std::vector<CsvRecord>{{""}, {""}}));
  EXPECT_EQ(CsvLine({"a\rb", "", "q\"q"}), "\"a\rb\",,\"q\"\"q\"\r\n");
}

}  // namespace
}  // namespace quorvant
