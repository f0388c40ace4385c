// Damaged and truncated files give a clean error naming the file, and the
// engine writes nothing to a file it could not read.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "core/shell/atomic_file.h"
#include "support/test_env.h"
#include "table_test_util.h"

namespace quorvant {
namespace {

using testing::Dump;
using testing::ErrorOf;
using testing::MakePeople;

class TableDamageTest : public testing::CoreTest {
 protected:
  void SetUp() override {
    MakePeople(dbf_, {"Ann/1", "Bob/2", "Cat/3"});
    Table t;
    t.Open(dbf_);
    t.GoTo(2);
    t.Replace("NOTE", "Bob's memo");
  }

  // The table and memo file, and the index file when it is the damaged one.
  // (A readable index that does not match its table is rebuilt and written.)
  std::string Files(const std::string& damaged) {
    std::string all;
    for (const std::string& f : {dbf_, fpt_, cdx_}) {
      if (f != cdx_ || damaged == cdx_) all += ReadWholeFile(f).value_or("(none)") + "\n";
    }
    return all;
  }

  // Opens and reads everything; returns the error, checking that no file
  // was written when there was one.
  std::string OpenAndRead(const std::string& damaged) {
    const std::string before = Files(damaged);
    const std::string error = ErrorOf([&] {
      Table t;
      t.Open(dbf_);
      Dump(t);
      t.SetOrder(t.TagOrder("NAME"));
      Dump(t);
    });
    if (error != "no error") {
      EXPECT_TRUE(Files(damaged) == before) << "written after " << error;
    }
    return error;
  }

  void Edit(const std::string& path, const std::function<void(std::string&)>& change) {
    std::string bytes = ReadWholeFile(path).value_or("");
    change(bytes);
    ASSERT_TRUE(WriteFileAtomically(path, bytes));
  }

  std::string dbf_ = dir_.File("t.dbf");
  std::string fpt_ = dir_.File("t.fpt");
  std::string cdx_ = dir_.File("t.cdx");
};

TEST_F(TableDamageTest, EachDamageGivesItsError) {
  const std::string table = "2: The table " + dbf_ + " is damaged or not a dBase table: ";
  const std::string memo = "2: The memo file " + fpt_ + " is damaged: ";
  const std::string index = "2: The index file " + cdx_ + " is damaged (";
  const std::string remedy =
      "). Remove it to open the table; its index tags must then be made again.";
  struct Case {
    const char* what;
    const std::string* file;
    std::function<void(std::string&)> change;
    std::string error;
  } cases[] = {
      {"empty table file", &dbf_, [](std::string& b) { b.clear(); },
       table + "the file is shorter than a table header"},
      {"header cut", &dbf_, [](std::string& b) { b.resize(100); },
       table + "the header is cut short"},
      {"records cut", &dbf_, [](std::string& b) { b.resize(b.size() - 40); },
       table + "the file holds fewer records than its header counts (truncated)"},
      {"count too high", &dbf_, [](std::string& b) { b[5] = 1; },
       table + "the file holds fewer records than its header counts (truncated)"},
      {"version", &dbf_, [](std::string& b) { b[0] = 0x42; }, table + "unknown version byte"},
      {"record length", &dbf_, [](std::string& b) { b[10] = 99; },
       table + "the record length does not match the fields"},
      {"no terminator", &dbf_, [](std::string& b) { b[32 + 3 * 32] = 'X'; },
       table + "no end of the field list"},
      {"zero width", &dbf_, [](std::string& b) { b[32 + 16] = 0; }, table + "field descriptor 1"},
      {"header length", &dbf_, [](std::string& b) { b[8] = 5, b[9] = 0; },
       table + "header length too small"},
      {"memo file cut", &fpt_, [](std::string& b) { b.resize(4); },
       memo + "the header is cut short"},
      {"memo block outside", &fpt_, [](std::string& b) { b.resize(512); },
       memo + "memo block 8 lies outside the file"},
      {"memo length", &fpt_, [](std::string& b) { b[512 + 4] = 0x7F; },
       memo + "memo block 8 runs past the end of the file"},
      {"memo block size", &fpt_, [](std::string& b) { b[6] = 0, b[7] = 0; }, memo + "block size 0"},
      {"index garbage", &cdx_, [](std::string& b) { b = "not an index"; },
       index + "not an index file of this program" + remedy},
      {"index cut", &cdx_, [](std::string& b) { b.resize(b.size() / 2); },
       index + "it ends too early" + remedy},
      {"index byte", &cdx_, [](std::string& b) { b.back() ^= 1; },
       index + "the keys of tag LIVE fail their checksum" + remedy},
      {"index tag list", &cdx_, [](std::string& b) { b[66] ^= 1; },
       index + "the tag list fails its checksum" + remedy},
  };
  for (const Case& c : cases) {
    Edit(*c.file, c.change);
    EXPECT_EQ(OpenAndRead(*c.file), c.error) << c.what;
    SetUp();  // good files again for the next case
  }
}

TEST_F(TableDamageTest, AMissingMemoFileIsReported) {
  ::unlink(fpt_.c_str());
  EXPECT_EQ(OpenAndRead(fpt_),
            "2: The memo file " + fpt_ + " of the table " + dbf_ + " is missing");
}

// Random damage to any of the three files never crashes or hangs, and only
// ever gives a table error.
TEST_F(TableDamageTest, RandomDamageGivesOnlyTableErrors) {
  std::mt19937 random(42);
  for (int round = 0; round < 90; ++round) {
    SetUp();
    const std::string& file = round % 3 == 0 ? dbf_ : round % 3 == 1 ? fpt_ : cdx_;
    Edit(file, [&](std::string& b) {
      const int flips = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < flips && !b.empty(); ++i) {
        b[random() % std::min<size_t>(b.size(), 700)] = static_cast<char>(random());
      }
      if (random() % 4 == 0) b.resize(random() % (b.size() + 1));
    });
    const std::string error = OpenAndRead(file);
    EXPECT_TRUE(error == "no error" || error.starts_with("2: ") || error.starts_with("4: "))
        << error;
  }
}

}  // namespace
}  // namespace quorvant
