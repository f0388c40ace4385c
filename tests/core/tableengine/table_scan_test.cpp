// Whole-table passes (ScanQuery, QueryCount) read a mapping of the file
// where they can. They must see exactly what reading record by record sees,
// pending changes included, and a file shortened under them must give an
// error, not kill the process.
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>

#include "support/fault_env.h"
#include "support/test_env.h"
#include "table_test_util.h"

namespace quorvant {
namespace {

using testing::ErrorOf;

class TableScanTest : public testing::CoreTest {
 protected:
  std::string Path() { return dir_.File("t.dbf"); }
};

// What a pass saw of each record it visited: "recno:NAME|N|deleted".
class Seen : public RecordVisitor {
 public:
  explicit Seen(const std::vector<FieldDef>& fields) : fields_(fields) {}
  void Visit(std::string_view bytes, RecordSource& source) override {
    const FieldDef& name = fields_[0];
    const FieldDef& n = fields_[1];
    lines += std::to_string(source.RecNo()) + ":" +
             std::string(TrimBlanks(bytes.substr(name.offset, name.width))) + "|" +
             std::string(TrimBlanks(bytes.substr(n.offset, n.width))) +
             (source.Deleted() ? "|*" : "|") + "\n";
  }
  std::string lines;

 private:
  const std::vector<FieldDef>& fields_;
};

// The same, from moving record by record and testing the condition in C++.
std::string Reference(Table& t, int below) {
  std::string lines;
  const std::string query = t.Query();
  t.SetQuery("");
  for (uint32_t r = 1; r <= t.RecCount(); ++r) {
    t.GoTo(r);
    const std::string n = t.Get("N");
    if (below >= 0 && !(std::atoi(n.c_str()) < below && !t.Deleted())) continue;
    lines += std::to_string(r) + ":" + std::string(TrimBlanks(t.Get("NAME"))) + "|" +
             std::string(TrimBlanks(n)) + (t.Deleted() ? "|*" : "|") + "\n";
  }
  t.SetQuery(query);
  return lines;
}

// Random records, committed and pending (updated, appended, deleted), under
// random queries: the mapped pass of the operating system's files and the
// copied pass of a test env (whose files do not map) both give what record
// by record reading gives.
TEST_F(TableScanTest, PassesSeeWhatRecordByRecordReadingSees) {
  testing::FaultEnv unmapped;
  std::mt19937 random(20261210);
  for (Env* env : {&DefaultEnv(), static_cast<Env*>(&unmapped)}) {
    Table::Create(Path(), {{"NAME", 'C', 250}, {"N", 'N', 5}});
    Table t(Table::Options{env});
    t.Open(Path());
    std::string name(200, 'x');
    for (int round = 0; round < 6; ++round) {
      for (int i = 0, n = 500 + static_cast<int>(random() % 3000); i < n; ++i) {
        name[random() % name.size()] = static_cast<char>('a' + random() % 26);
        t.Append({{"NAME", name}, {"N", std::to_string(random() % 100)}});
      }
      if (round % 2 == 0) t.Commit();
      for (int i = 0; i < 200; ++i) {
        t.GoTo(static_cast<uint32_t>(random() % t.RecCount()) + 1);
        if (random() % 3 == 0) {
          t.Delete();
        } else {
          t.Replace("N", static_cast<int64_t>(random() % 100));
        }
      }
      const int below = static_cast<int>(random() % 120) - 10;
      t.SetQuery(below < 0 ? "" : "N < " + std::to_string(below) + " .AND. .NOT. DELETED()");
      Seen seen(t.Fields());
      const uint32_t visited = t.ScanQuery(seen);
      const std::string expected = Reference(t, below);
      ASSERT_EQ(seen.lines, expected) << "round " << round;
      ASSERT_EQ(visited, static_cast<uint32_t>(std::count(expected.begin(), expected.end(), '\n')));
      t.SetQuery(t.Query());  // forgets the count the pass left behind
      ASSERT_EQ(t.QueryCount(), visited);
    }
    t.Close();
  }
}

// A visitor that counts the same table, or takes in what another handle
// committed, in the middle of a pass: the records the pass hands out stay
// readable and the pass sees the records it began with.
TEST_F(TableScanTest, PassesInsideAPassLeaveItsRecordsReadable) {
  Table::Create(Path(), {{"NAME", 'C', 250}, {"N", 'N', 5}});
  Table t;
  t.Open(Path());
  for (int i = 0; i < 5000; ++i) t.Append({{"NAME", "n" + std::to_string(i)}, {"N", "1"}});
  t.Commit();
  t.SetQuery("N = 1");

  class Counting : public RecordVisitor {
   public:
    Counting(Table& t, std::string path) : t_(t), path_(std::move(path)) {}
    void Visit(std::string_view bytes, RecordSource& source) override {
      if (source.RecNo() % 1000 == 1) {
        EXPECT_EQ(t_.QueryCount(), 5000u + added_);
        Table other;
        other.Open(path_);
        other.Append({{"NAME", "late"}, {"N", "1"}});
        other.Close();
        ++added_;
        EXPECT_EQ(t_.RecCount(), 5000u + added_);
      }
      const std::string name = "n" + std::to_string(source.RecNo() - 1);
      if (bytes.substr(1, name.size()) != name) ++wrong;
    }
    int wrong = 0;

   private:
    Table& t_;
    std::string path_;
    uint32_t added_ = 0;
  };
  Counting counting(t, Path());
  EXPECT_EQ(t.ScanQuery(counting), 5000u);
  EXPECT_EQ(counting.wrong, 0);
  t.SetQuery("");
  t.SetQuery("N = 1");
  EXPECT_EQ(t.QueryCount(), 5005u);
}

// Another program cuts the file down to its header while a pass reads it:
// the pages past the cut read as zeros instead of raising SIGBUS, and the
// pass ends with an error naming the table.
TEST_F(TableScanTest, FileShortenedUnderAPassIsAnErrorNotACrash) {
  Table::Create(Path(), {{"NAME", 'C', 200}, {"N", 'N', 5}});
  {
    Table t;
    t.Open(Path());
    for (int i = 0; i < 20000; ++i) t.Append({{"NAME", "someone"}, {"N", "7"}});
  }
  const std::string original = testing::ReadFileOrDie(Path());

  class Shortening : public RecordVisitor {
   public:
    explicit Shortening(std::string path) : path_(std::move(path)) {}
    void Visit(std::string_view bytes, RecordSource& source) override {
      if (source.RecNo() == 1) {
        EXPECT_EQ(::truncate(path_.c_str(), 4096), 0);
      }
      if (bytes.find("someone") == std::string_view::npos) ++lost;
    }
    int lost = 0;

   private:
    std::string path_;
  };

  Table t;
  t.Open(Path());
  Shortening shortening(Path());
  const std::string error = ErrorOf([&] { t.ScanQuery(shortening); });
  EXPECT_NE(error.find("could not be read to its end"), std::string::npos) << error;
  EXPECT_NE(error.find(Path()), std::string::npos) << error;
  EXPECT_GT(shortening.lost, 0);

  // Every mapping was let go: a whole new pass over the restored file is fine.
  testing::WriteFileOrDie(Path(), original);
  Table again;
  again.Open(Path());
  again.SetQuery("N = 7");
  EXPECT_EQ(again.QueryCount(), 20000u);
}

}  // namespace
}  // namespace quorvant
