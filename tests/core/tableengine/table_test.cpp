// Creating, filling, reading and browsing tables.
#include <gtest/gtest.h>

#include <random>

#include "core/shell/atomic_file.h"
#include "support/test_env.h"
#include "table_test_util.h"

namespace quorvant {
namespace {

using testing::Dump;
using testing::ErrorOf;
using testing::MakePeople;

class TableTest : public testing::CoreTest {
 protected:
  std::string Path(const std::string& name = "t.dbf") { return dir_.File(name); }
};

TEST_F(TableTest, StoresEveryFieldKindAndReadsItBack) {
  Table::Create(Path(), {{"code", 'C', 3}, {"Name", 'C', 6}, {"N", 'N', 5}, {"M", 'M', 10}});
  {
    Table t;
    t.Open(Path());
    t.AppendBlank();
    t.Replace("CODE", "Other");  // cut to the width
    t.Replace("name", "aéééé");  // é is two bytes: cut before a split character
    t.Replace("N", int64_t{-9999});
    t.Replace("M", "line 1\r\nline 2");
    t.AppendBlank();
    t.Replace("N", "12");
    t.Replace("M", std::string(1000, 'x'));
    t.AppendBlank();
    t.Replace("N", "not a number");
    t.Close();
  }
  Table t;
  t.Open(Path());
  EXPECT_EQ(t.RecCount(), 3u);
  EXPECT_EQ(t.Get("CODE"), "Oth");
  EXPECT_EQ(t.Get("NAME"), "aéé ");
  EXPECT_EQ(t.Get("N"), "-9999");
  EXPECT_EQ(t.GetNumber("N"), -9999);
  EXPECT_EQ(t.GetMemo("M"), "line 1\r\nline 2");
  t.Skip();
  EXPECT_EQ(t.Get("CODE"), "   ");
  EXPECT_EQ(t.Get("N"), "   12");
  EXPECT_EQ(t.Get("M"), std::string(1000, 'x'));
  t.Skip();
  EXPECT_EQ(t.GetNumber("N"), std::nullopt);
  EXPECT_EQ(t.Get("M"), "");
  EXPECT_EQ(ErrorOf([&] { t.Get("MISSING"); }), "5: The table " + Path() + " has no field MISSING");
  EXPECT_EQ(ErrorOf([&] { t.Replace("N", int64_t{123456}); }),
            "5: The value 123456 does not fit the field N of " + Path());
  t.Skip();
  EXPECT_TRUE(t.Eof());
  EXPECT_EQ(ErrorOf([&] { t.Get("N"); }), "5: The table " + Path() + " has no current record");

  // FoxPro 2.x with memo, no structural-index flag, header and record lengths.
  const std::string bytes = *ReadWholeFile(Path());
  EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xF5);
  EXPECT_EQ(bytes[28], 0);
  EXPECT_EQ(static_cast<uint8_t>(bytes[8]) + 256 * static_cast<uint8_t>(bytes[9]), 32 + 4 * 32 + 1);
  EXPECT_EQ(bytes[10], 1 + 3 + 6 + 5 + 10);
  EXPECT_EQ(bytes.size(), 32u + 4 * 32 + 1 + 3 * 25 + 1);
  EXPECT_EQ(bytes.back(), 0x1A);
}

TEST_F(TableTest, RefusesDefinitionsTheFormatCannotHold) {
  struct Case {
    std::vector<FieldDef> fields;
    const char* why;
  } cases[] = {
      {{{"TEXT", 'C', 0}}, "the field TEXT of type C cannot have width 0 and 0 decimals"},
      {{{"ABCDEFGHIJK", 'C', 5}},
       "the field name \"ABCDEFGHIJK\" is not 1 to 10 letters, digits or \"_\" starting with a "
       "letter"},
      {{{"A", 'C', 5}, {"a", 'C', 5}}, "the field name a is used twice"},
      {{{"M", 'M', 4}}, "the field M of type M cannot have width 4 and 0 decimals"},
      {{{"X", 'Q', 4}}, "the field X of type Q cannot have width 4 and 0 decimals"},
      {{}, "a table needs at least one field"},
      {std::vector<FieldDef>(2001, FieldDef{"F", 'C', 1}), "more than 2000 fields"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf([&] { Table::Create(Path(), c.fields); }),
              "0: Cannot create the table " + Path() + ": " + c.why);
    EXPECT_FALSE(FileExists(Path()));
  }
  std::vector<FieldDef> wide;
  for (int i = 0; i < 2000; ++i) wide.push_back({"F" + std::to_string(i), 'C', 32});
  Table::Create(Path(), wide);  // 2000 fields, 64001-byte records
  Table t;
  t.Open(Path());
  t.AppendBlank();
  t.Replace("F1999", "last");
  t.Close();
  t.Open(Path());
  EXPECT_EQ(t.Fields().size(), 2000u);
  EXPECT_EQ(t.Get("F1999").substr(0, 4), "last");
  wide.push_back({"MORE", 'C', 1000});
  EXPECT_EQ(ErrorOf([&] { Table::Create(Path("w.dbf"), wide); }),
            "0: Cannot create the table " + Path("w.dbf") + ": more than 2000 fields");
}

TEST_F(TableTest, BrowsesInPhysicalOrTagOrderWithQueryAndFilter) {
  MakePeople(Path(), {"Carol/30", "alice/25", "Bob/41", "", "Alice/52"});
  Table t;
  t.Open(Path());
  EXPECT_EQ(Dump(t), "1:Carol|30|\n2:alice|25|\n3:Bob|41|\n4:||\n5:Alice|52|\n");
  t.SetOrder(t.TagOrder("name"));
  EXPECT_EQ(t.Order(), 1);
  EXPECT_EQ(Dump(t), "4:||\n5:Alice|52|\n3:Bob|41|\n1:Carol|30|\n2:alice|25|\n");
  t.SetQuery("AGE > 26");
  EXPECT_EQ(t.QueryCount(), 3u);
  EXPECT_EQ(Dump(t), "5:Alice|52|\n3:Bob|41|\n1:Carol|30|\n");
  t.SetFilter("LEFT( NAME, 1) > \"B\"");
  EXPECT_EQ(Dump(t), "1:Carol|30|\n");
  EXPECT_EQ(t.QueryCount(), 3u);  // the filter does not change the query's count
  // A bad expression is refused and leaves the previous one in force.
  EXPECT_EQ(ErrorOf([&] { t.SetQuery("AGE >"); }),
            "4: The expression \"AGE >\" is not valid: it ends where a value is expected");
  EXPECT_EQ(t.Query(), "AGE > 26");
  t.SetFilter("");
  t.SetQuery("");
  t.SetOrder(0);
  // Backwards, and past either end.
  t.GoBottom();
  EXPECT_EQ(t.RecNo(), 5u);
  t.Skip(-2);
  EXPECT_EQ(t.RecNo(), 3u);
  t.Skip(-5);
  EXPECT_TRUE(t.Bof());
  EXPECT_EQ(t.RecNo(), 1u);
  t.Skip(10);
  EXPECT_TRUE(t.Eof());
  t.Skip(-1);
  EXPECT_EQ(t.RecNo(), 5u);
  t.GoTo(2);
  EXPECT_EQ(t.Get("NAME").size(), 20u);
  EXPECT_EQ(ErrorOf([&] { t.GoTo(6); }), "5: The table " + Path() + " has no record 6");
  EXPECT_EQ(ErrorOf([&] { t.SetOrder(3); }), "5: The table " + Path() + " has no order 3");
}

TEST_F(TableTest, SeeksExactlyOrByPrefix) {
  MakePeople(Path(), {"Smith", "Smithson", "", "smith", "Jones", "Smith"});
  Table t;
  t.Open(Path());
  EXPECT_EQ(ErrorOf([&] { t.Seek("x"); }),
            "5: A seek in the table " + Path() + " needs an index order");
  t.SetOrder(t.TagOrder("NAME"));
  struct Case {
    const char* value;
    SeekMode mode;
    uint32_t found;  // 0: not found
  } cases[] = {
      {"Smith", SeekMode::kExact, 1},     // the first of equal keys
      {"Smith   ", SeekMode::kExact, 1},  // trailing blanks do not count
      {"Smit", SeekMode::kExact, 0},     {"Smit", SeekMode::kPrefix, 1},
      {"Smiths", SeekMode::kPrefix, 2},  {"Smithson", SeekMode::kExact, 2},
      {"smith", SeekMode::kExact, 4},  // letter case counts
      {"", SeekMode::kExact, 3},       // an empty value finds the blank key
      {"", SeekMode::kPrefix, 3},        {"Zed", SeekMode::kPrefix, 0},
      {"A", SeekMode::kExact, 0},
  };
  for (const Case& c : cases) {
    const bool found = t.Seek(c.value, c.mode);
    EXPECT_EQ(found, c.found != 0) << c.value;
    EXPECT_EQ(found ? t.RecNo() : 0u, c.found) << c.value;
    EXPECT_EQ(t.Eof(), !found);
  }
  // A seek sees every record, whatever the query or filter hides.
  t.SetQuery("NAME = \"Jones\"");
  t.SetFilter("NAME = \"Jones\"");
  EXPECT_TRUE(t.Seek("Smith"));
  // Browsing on from a seek follows the order.
  t.SetQuery("");
  t.SetFilter("");
  t.Seek("Smith");
  t.Skip();
  EXPECT_EQ(t.RecNo(), 6u);
  t.Skip();
  EXPECT_EQ(t.RecNo(), 2u);
}

TEST_F(TableTest, TagsFollowChangesDeletionsAndConditions) {
  MakePeople(Path(), {"Cat", "Ann", "Bea"});
  Table t;
  t.Open(Path());
  t.GoTo(2);
  t.Delete();
  t.GoTo(3);
  t.Replace("NAME", "Zoe");
  t.AppendBlank();
  t.Replace("NAME", "Abe");
  t.SetOrder(t.TagOrder("LIVE"));
  EXPECT_EQ(Dump(t), "4:Abe||\n1:Cat||\n3:Zoe||\n");
  EXPECT_FALSE(t.Seek("Ann"));
  t.SetOrder(t.TagOrder("NAME"));
  EXPECT_EQ(Dump(t), "4:Abe||\n2*:Ann||\n1:Cat||\n3:Zoe||\n");
  EXPECT_FALSE(t.Seek("Bea"));
  t.Close();
  // The same after reopening from the index file.
  t.Open(Path());
  t.SetOrder(t.TagOrder("LIVE"));
  EXPECT_EQ(Dump(t), "4:Abe||\n1:Cat||\n3:Zoe||\n");
  t.GoTo(2);
  t.Recall();
  EXPECT_EQ(Dump(t), "4:Abe||\n2:Ann||\n1:Cat||\n3:Zoe||\n");
  EXPECT_EQ(t.TagCount(), 2);
  EXPECT_EQ(t.Tag(2).name, "LIVE");
  EXPECT_EQ(t.Tag(2).condition, ".NOT. DELETED()");
  EXPECT_EQ(t.TagOrder("missing"), 0);
  EXPECT_EQ(ErrorOf([&] { t.AddTag("BAD", "NOPE"); }),
            "4: The expression \"NOPE\" is not valid: the table has no field NOPE");
  EXPECT_EQ(ErrorOf([&] { t.AddTag("BAD", "NAME", "NAME"); }),
            "4: The expression \"NAME\" is not valid: it is not a condition");
  EXPECT_EQ(ErrorOf([&] { t.AddTag("TOO_LONG_NAME", "NAME"); }),
            "0: The tag name \"TOO_LONG_NAME\" is not 1 to 10 letters, digits or \"_\" starting "
            "with a letter");
  EXPECT_EQ(t.TagCount(), 2);
}

TEST_F(TableTest, NumericTagsSortByValue) {
  MakePeople(Path(), {"a/10", "b/-3", "c/9", "d/", "e/100"});
  Table t;
  t.Open(Path());
  t.AddTag("AGE", "AGE");
  t.SetOrder(t.TagOrder("AGE"));
  std::string order;
  for (t.GoTop(); !t.Eof(); t.Skip()) order += std::to_string(t.RecNo());
  EXPECT_EQ(order, "24315");  // the blank counts as 0
  EXPECT_TRUE(t.Seek("9"));
  EXPECT_EQ(t.RecNo(), 3u);
  EXPECT_TRUE(t.Seek("9.0", SeekMode::kPrefix));
  EXPECT_FALSE(t.Seek("1", SeekMode::kPrefix));  // numbers have no prefixes
}

TEST_F(TableTest, CopiesRecordsAndMemoTexts) {
  MakePeople(Path(), {"Ann/1", "Bob/2"});
  Table t;
  t.Open(Path());
  t.GoTo(2);
  t.Replace("NOTE", "memo of Bob");
  WriteFileAtomically(Path("copy.cdx"), "an index of an older table");
  t.CopyTo(Path("copy.dbf"));
  EXPECT_FALSE(FileExists(Path("copy.cdx")));
  EXPECT_EQ(ErrorOf([&] { t.CopyTo(Path()); }),
            "5: The table " + Path() + " cannot be copied onto itself");
  Table c;
  c.Open(Path("copy.dbf"));
  EXPECT_EQ(Dump(c), "1:Ann|1|\n2:Bob|2|memo of Bob\n");
  EXPECT_EQ(c.TagCount(), 0);
}

// Memo texts are held back and written in large pieces; each must still be
// readable at once, in the same handle, and after reopening, including
// memos larger than the holding buffer and thousands of small ones.
TEST_F(TableTest, ManyMemoTextsReadBackBeforeAndAfterCommit) {
  Table::Create(Path(), {{"N", 'N', 6}, {"M", 'M', 10}});
  auto text_of = [](int i) {
    return i % 5000 == 7
               ? std::string(3'000'000, static_cast<char>('a' + i % 26))
               : "memo " + std::to_string(i) + std::string(static_cast<size_t>(i % 90), '.');
  };
  constexpr int kCount = 20000;
  {
    Table t;
    t.Open(Path());
    for (int i = 1; i <= kCount; ++i) {
      t.AppendBlank();
      t.Replace("N", int64_t{i});
      t.Replace("M", text_of(i));
      if (i % 4999 == 0) {
        EXPECT_EQ(t.GetMemo("M"), text_of(i));
        t.GoTo(static_cast<uint32_t>(i / 2));
        EXPECT_EQ(t.GetMemo("M"), text_of(i / 2));
      }
    }
    t.Close();
  }
  Table t;
  t.Open(Path());
  ASSERT_EQ(t.RecCount(), static_cast<uint32_t>(kCount));
  for (int i = 1; i <= kCount; i += 37) {
    t.GoTo(static_cast<uint32_t>(i));
    ASSERT_EQ(t.GetMemo("M"), text_of(i)) << i;
  }
  t.GoTo(7);
  EXPECT_EQ(t.GetMemo("M"), text_of(7));
}

// A reading handle keeps a window of the memo file; what it reads must stay
// what the records hold while another handle appends, commits, and its
// memos land right after the window (sizes from empty to larger than the
// window), read in file order, by a scan and at random.
TEST_F(TableTest, MemoReadsFollowAnotherHandlesCommits) {
  Table::Create(Path(), {{"N", 'N', 6}, {"M", 'M', 10}});
  std::mt19937 random(9);
  std::vector<std::string> expected;  // by record number - 1
  Table writer, reader;
  writer.Open(Path());
  reader.Open(Path());
  class Collect : public RecordVisitor {
   public:
    explicit Collect(std::vector<std::string>& out) : out_(out) {}
    void Visit(std::string_view, RecordSource& source) override {
      out_.push_back(source.MemoText(1));
    }

   private:
    std::vector<std::string>& out_;
  };
  for (int round = 0; round < 12; ++round) {
    for (int i = 0, n = static_cast<int>(random() % 200); i < n; ++i) {
      const size_t size = random() % 10 == 0 ? random() % 100000 : random() % 300;
      std::string text(size, static_cast<char>('a' + random() % 26));
      if (!text.empty()) text.front() = static_cast<char>('A' + round);
      writer.AppendBlank();
      writer.Replace("M", text);
      expected.push_back(text);
    }
    // Not committed yet: the reader still sees the records of before.
    const size_t committed = reader.RecCount();
    writer.Commit();
    ASSERT_EQ(reader.RecCount(), expected.size());
    std::vector<std::string> scanned;
    Collect collect(scanned);
    reader.ScanQuery(collect);
    ASSERT_EQ(scanned.size(), expected.size());
    for (size_t r = 0; r < expected.size(); ++r) ASSERT_EQ(scanned[r], expected[r]) << r;
    for (int k = 0; k < 50 && committed > 0; ++k) {
      const uint32_t r = static_cast<uint32_t>(random() % expected.size()) + 1;
      reader.GoTo(r);
      ASSERT_EQ(reader.GetMemo("M"), expected[r - 1]) << r;
    }
  }
}

// RecordsInOrder() reads the order's keys instead of walking the records;
// it must list exactly what GoTop() and Skip() visit, whatever the order,
// condition, query, filter and pending change.
TEST_F(TableTest, RecordsInOrderListsWhatSkippingVisits) {
  Table::Create(Path(), {{"NAME", 'C', 6}, {"N", 'N', 5}});
  Table t;
  t.Open(Path());
  std::mt19937 rng(5);
  for (int i = 0; i < 400; ++i) {
    t.AppendBlank();
    t.Replace("NAME", std::string(1 + rng() % 3, static_cast<char>('a' + rng() % 4)));
    t.Replace("N", static_cast<int64_t>(rng() % 50));
    if (rng() % 5 == 0) t.Delete();
  }
  t.AddTag("NAME", "NAME", ".not. DELETED()");
  t.AddTag("N", "N");
  auto walked = [&t] {
    std::vector<uint32_t> rows;
    for (t.GoTop(); !t.Eof(); t.Skip()) rows.push_back(t.RecNo());
    return rows;
  };
  for (const char* query : {"", "N > 20"}) {
    for (const char* filter : {"", "NAME <> \"b\""}) {
      t.SetQuery(query);
      t.SetFilter(filter);
      for (int order = 0; order <= t.TagCount(); ++order) {
        t.SetOrder(order);
        t.GoTo(7);
        t.Replace("NAME", "c");  // pending: posted first
        const std::vector<uint32_t> listed = t.RecordsInOrder();
        EXPECT_EQ(t.RecNo(), 7u);
        EXPECT_EQ(listed, walked())
            << "order " << order << " query " << query << " filter " << filter;
      }
    }
  }
}

// Records are read through a window of the file that follows the direction
// of the reads; forward, backward and random walks over a table many windows
// long must each see every record's own values.
TEST_F(TableTest, ReadsInEveryDirectionSeeTheirOwnRecords) {
  Table::Create(Path(), {{"TEXT", 'C', 250}, {"N", 'N', 6}});
  Table t;
  t.Open(Path());
  constexpr int kCount = 3000;  // about three windows
  const auto text_of = [](int i) { return "record " + std::to_string(i * 7919 % 10007); };
  for (int i = 1; i <= kCount; ++i) {
    t.AppendBlank();
    t.Replace("TEXT", text_of(i));
    t.Replace("N", static_cast<int64_t>(i));
  }
  t.Commit();
  t.Close();
  t.Open(Path());
  const auto check = [&](const char* walk) {
    const int i = static_cast<int>(*t.GetNumber("N"));
    ASSERT_EQ(i, static_cast<int>(t.RecNo())) << walk;
    ASSERT_EQ(t.Get("TEXT").substr(0, text_of(i).size()), text_of(i)) << walk << " " << i;
  };
  int seen = 0;
  for (t.GoTop(); !t.Eof(); t.Skip(), ++seen) check("forward");
  EXPECT_EQ(seen, kCount);
  seen = 0;
  for (t.GoBottom(); !t.Bof(); t.Skip(-1), ++seen) check("backward");
  EXPECT_EQ(seen, kCount);
  std::mt19937 rng(11);
  for (int k = 0; k < 2000; ++k) {
    t.GoTo(1 + rng() % kCount);
    check("random");
    // A short run on from a random place, as a grid's page reads.
    for (int step = 0; step < 3 && !t.Eof(); ++step, t.Skip()) check("run");
  }
}

}  // namespace
}  // namespace quorvant
