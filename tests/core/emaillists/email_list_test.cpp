// E-mail list files: creation, orders, finding, deletion, Save As and
// damaged files.
#include "core/emaillists/email_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "core/emaillists/email_list_labels.h"
#include "core/emaillists/email_list_transfer.h"
#include "core/env/table_error.h"
#include "core/shell/atomic_file.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class EmailListTest : public testing::CoreTest {
 protected:
  std::string Dump() {
    std::string out;
    for (const uint32_t recno : list_.RowsInOrder()) {
      const EmailRecord r = list_.Read(recno);
      out += r[0] + "|" + r[1] + "|" + r[2] + "\n";
    }
    return out;
  }

  testing::ScriptedPrompts prompts_;
  TEmailList list_{prompts_};
};

TEST_F(EmailListTest, CreatedListHasThreeFieldsAndTagsThatLeaveDeletedOut) {
  const std::string path = dir_.File("people.eml");
  ASSERT_TRUE(list_.Create(path));
  list_.Append({"Anna", "Zeller", "az@example.org"});
  list_.Append({"Bob", "Abel", "ba@example.org"});
  list_.Close();

  Table t;
  t.Open(path);
  std::string layout;
  for (const FieldDef& f : t.Fields())
    layout += f.name + " " + f.type + std::to_string(f.width) + ",";
  for (int order = 1; order <= t.TagCount(); ++order) {
    layout += " " + t.Tag(order).name + "=" + t.Tag(order).key + " for " + t.Tag(order).condition;
  }
  EXPECT_EQ(layout,
            "FNAME C30,LNAME C30,EMAIL C200, FNAME=FNAME+LNAME for .not. DELETED() "
            "LNAME=LNAME+FNAME for .not. DELETED() EMAIL=EMAIL for .not. DELETED()");
  t.Close();

  list_.Open(path);
  EXPECT_EQ(list_.SortField(), kLastNameField);
  EXPECT_EQ(Dump(), "Bob|Abel|ba@example.org\nAnna|Zeller|az@example.org\n");
  list_.Delete({2});
  list_.Open(path);  // the deletion reached the file
  EXPECT_EQ(Dump(), "Anna|Zeller|az@example.org\n");
  EXPECT_EQ(list_.RecordCount(), 2u);
}

TEST_F(EmailListTest, LabelsFollowTheSortField) {
  ASSERT_TRUE(list_.Create(dir_.File("l.eml")));
  EXPECT_EQ(EmailFindLabel(list_.SortField()), " F&ind Last Name:");
  ASSERT_TRUE(list_.SetOrder("email"));
  EXPECT_EQ(EmailFindLabel(list_.SortField()), " F&ind Email Address:");
  EXPECT_EQ(EmailColumnTitle(2, list_.SortField()), "Email Address *");
  EXPECT_EQ(EmailColumnTitle(1, list_.SortField()), "Last Name");
  EXPECT_EQ(EmailFindStatus(true, 2, "bo"), " Found \"bo\"");
  EXPECT_EQ(EmailFindStatus(false, 2, "bo"), " Could not find Email Address of \"bo\"");
  EXPECT_FALSE(list_.SetOrder("PHONE"));
  EXPECT_EQ(EmailListCaption(list_.path()), "Email List Manager - " + dir_.File("l.eml"));
}

TEST_F(EmailListTest, MissingListMeansDefaultOfTheDataDirectory) {
  const std::string data = dir_.path() + "/";
  EXPECT_EQ(EmailListToShow("", data), data + "default.eml");
  EXPECT_EQ(EmailListToShow(dir_.File("gone.eml"), data), data + "default.eml");
  ASSERT_TRUE(list_.Create(dir_.File("mine.eml")));
  EXPECT_EQ(EmailListToShow(dir_.File("mine.eml"), data), dir_.File("mine.eml"));
}

// Find against a plain reference: the first record, in the order's own
// sort, whose key begins with the text.
TEST_F(EmailListTest, FindByPrefixInEveryOrderMatchesAReference) {
  ASSERT_TRUE(list_.Create(dir_.File("r.eml")));
  std::mt19937 rng(7);
  const std::string letters = "abAB";
  auto word = [&] {
    std::string w;
    for (int n = 1 + static_cast<int>(rng() % 4); n > 0; --n) w += letters[rng() % letters.size()];
    return w;
  };
  std::vector<EmailRecord> people;
  for (int i = 0; i < 300; ++i) people.push_back({word(), word(), word() + "@x"});
  list_.AppendAll(people);
  std::vector<uint32_t> deleted = {5, 17, 200};
  list_.Delete(deleted);

  for (int field = 0; field < kEmailFieldCount; ++field) {
    list_.SetSortField(field);
    // The tag's key: the field padded to its width, then the other name.
    auto key = [&](const EmailRecord& r) {
      auto pad = [](std::string s, int w) { return s + std::string(w - s.size(), ' '); };
      if (field == 0) return pad(r[0], 30) + r[1];
      if (field == 1) return pad(r[1], 30) + r[0];
      return r[2];
    };
    std::vector<std::pair<std::string, uint32_t>> keys;
    for (uint32_t recno = 1; recno <= people.size(); ++recno) {
      if (std::find(deleted.begin(), deleted.end(), recno) != deleted.end()) continue;
      keys.push_back({key(people[recno - 1]), recno});
    }
    std::sort(keys.begin(), keys.end());
    std::vector<uint32_t> expected_rows;
    for (const auto& k : keys) expected_rows.push_back(k.second);
    ASSERT_EQ(list_.RowsInOrder(), expected_rows) << "field " << field;
    for (int probe = 0; probe < 60; ++probe) {
      const std::string text = word();
      std::optional<uint32_t> expected;
      for (const auto& k : keys) {
        if (k.first.starts_with(text)) {
          expected = k.second;
          break;
        }
      }
      EXPECT_EQ(list_.Find(text), expected) << "field " << field << " text " << text;
    }
  }
}

TEST_F(EmailListTest, SaveAsToItsOwnNameDoesNothingAndToAnotherShowsTheCopy) {
  const std::string path = dir_.File("a.eml");
  ASSERT_TRUE(list_.Create(path));
  list_.Append({"Cleo", "Brandt", "cb@example.org"});
  list_.SetSortField(2);
  const std::string before = testing::ReadFileOrDie(path);
  EXPECT_FALSE(list_.SaveAs(path));
  EXPECT_FALSE(list_.SaveAs(dir_.path() + "/./a.eml"));
  EXPECT_EQ(list_.path(), path);
  EXPECT_EQ(list_.SortField(), 2);

  ASSERT_TRUE(list_.SaveAs(dir_.File("b.eml")));
  EXPECT_EQ(list_.path(), dir_.File("b.eml"));
  EXPECT_EQ(list_.SortField(), kLastNameField);
  list_.Append({"Abe", "Adams", "aa@example.org"});
  EXPECT_EQ(Dump(), "Abe|Adams|aa@example.org\nCleo|Brandt|cb@example.org\n");
  EXPECT_EQ(testing::ReadFileOrDie(path), before);
  Table copy;
  copy.Open(dir_.File("b.eml"));
  EXPECT_EQ(copy.TagCount(), 3);
}

TEST_F(EmailListTest, DamagedOrForeignFilesAreRefusedWithoutBeingWritten) {
  const std::string path = dir_.File("d.eml");
  ASSERT_TRUE(list_.Create(path));
  list_.Append({"Dana", "Dorn", "dd@example.org"});
  list_.Close();
  std::string bytes = testing::ReadFileOrDie(path);
  bytes.resize(bytes.size() / 2);
  testing::WriteFileOrDie(path, bytes);
  EXPECT_THROW(list_.Open(path), ETableError);
  EXPECT_FALSE(list_.IsOpen());
  EXPECT_EQ(testing::ReadFileOrDie(path), bytes);

  testing::WriteFileOrDie(dir_.File("text.eml"), "FNAME,LNAME,EMAIL\r\n");
  EXPECT_THROW(list_.Open(dir_.File("text.eml")), ETableError);

  const std::string other = dir_.File("other.eml");
  Table::Create(other, {{"NAME", 'C', 10, 0}});
  const std::string other_bytes = testing::ReadFileOrDie(other);
  try {
    list_.Open(other);
    FAIL() << "a table without the list's fields was opened";
  } catch (const ETableError& e) {
    EXPECT_EQ(std::string(e.what()),
              "The file " + other + " is not an e-mail list: it has no FNAME field");
  }
  EXPECT_EQ(testing::ReadFileOrDie(other), other_bytes);
  EXPECT_FALSE(FileExists(dir_.File("other.cdx")));
}

TEST_F(EmailListTest, ListWithoutItsIndexGetsItsTagsBack) {
  const std::string path = dir_.File("i.eml");
  ASSERT_TRUE(list_.Create(path));
  list_.AppendAll({{"B", "Y", "b@x"}, {"A", "Z", "a@x"}});
  list_.Close();
  std::remove(dir_.File("i.cdx").c_str());
  list_.Open(path);
  EXPECT_EQ(Dump(), "B|Y|b@x\nA|Z|a@x\n");
  list_.SetSortField(0);
  EXPECT_EQ(Dump(), "A|Z|a@x\nB|Y|b@x\n");
}

TEST_F(EmailListTest, RefusedCreationSaysSo) {
  EXPECT_FALSE(list_.Create(dir_.File("no/such/folder/x.eml")));
  EXPECT_EQ(prompts_.log, std::vector<std::string>{"error: Could not create the database " +
                                                   dir_.File("no/such/folder/x.eml")});
  EXPECT_FALSE(list_.IsOpen());
}

// 100,000 imported addresses: import, open, each order and a find stay
// well under a second each in a release build; the limits here leave room
// for the sanitizers.
TEST_F(EmailListTest, HundredThousandAddressesOpenSortAndFindQuickly) {
  std::string csv = "FNAME,LNAME,EMAIL\r\n";
  std::mt19937 rng(11);
  for (int i = 0; i < 100000; ++i) {
    csv += "First" + std::to_string(rng() % 100000) + ",Last" + std::to_string(rng() % 100000) +
           ",user" + std::to_string(i) + "@example.org\r\n";
  }
  testing::WriteFileOrDie(dir_.File("big.csv"), csv);
  ASSERT_TRUE(list_.Create(dir_.File("big.eml")));
  using Clock = std::chrono::steady_clock;
  auto seconds = [](Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
  };
  auto start = Clock::now();
  ASSERT_EQ(ImportEmailCsv(list_, dir_.File("big.csv")).added, 100000u);
  const double import_s = seconds(start);
  start = Clock::now();
  list_.Open(dir_.File("big.eml"));
  EXPECT_EQ(list_.RowsInOrder().size(), 100000u);
  const double open_s = seconds(start);
  double sort_s = 0;
  for (int field : {0, 2, 1}) {
    start = Clock::now();
    list_.SetSortField(field);
    EXPECT_EQ(list_.RowsInOrder().size(), 100000u);
    sort_s = std::max(sort_s, seconds(start));
  }
  start = Clock::now();
  const std::optional<uint32_t> found = list_.Find("Last4242");
  const double find_s = seconds(start);
  ASSERT_TRUE(found.has_value());
  EXPECT_TRUE(list_.Read(*found)[1].starts_with("Last4242"));
  std::printf("import %.2fs, open %.2fs, slowest sort %.2fs, find %.4fs\n", import_s, open_s,
              sort_s, find_s);
  EXPECT_LT(import_s, 20.0);
  EXPECT_LT(open_s, 5.0);
  EXPECT_LT(sort_s, 1.0);
  EXPECT_LT(find_s, 0.1);
}

}  // namespace
}  // namespace quorvant
