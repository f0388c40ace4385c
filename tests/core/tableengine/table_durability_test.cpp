// Committed records survive crashes, failed writes and other handles; an
// index that does not match its table is rebuilt.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "core/shell/atomic_file.h"
#include "support/fault_driver.h"
#include "support/test_env.h"
#include "table_test_util.h"

namespace quorvant {
namespace {

using testing::Dump;
using testing::ErrorOf;
using testing::MakePeople;

class TableDurabilityTest : public testing::CoreTest {
 protected:
  std::string path_ = dir_.File("t.dbf");
};

// The records in NAME order with their memo texts.
std::string ByName(Table& t) {
  t.SetOrder(t.TagOrder("NAME"));
  return Dump(t);
}

TEST_F(TableDurabilityTest, CommittedRecordsSurviveAWriterKilledWhileAppending) {
  MakePeople(path_, {});
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    Table t;
    t.Open(path_);
    for (int i = 0; i < 1000; ++i) {
      t.AppendBlank();
      t.Replace("NAME", "n" + std::to_string(i));
      t.Replace("NOTE", "memo " + std::to_string(i));
    }
    t.Commit();
    // Appends that are never committed, enough to reach the files; the
    // writer is killed while it goes on appending.
    for (int i = 0;; ++i) {
      t.AppendBlank();
      t.Replace("NAME", "uncommitted" + std::to_string(i));
      t.Replace("NOTE", "lost " + std::to_string(i));
      if (i == 130000) ::write(ready[1], "c", 1);
    }
  }
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);

  const uint64_t committed_size = 32 + 3 * 32 + 1 + 1000 * 36 + 1;
  EXPECT_GT(DefaultEnv().Stat(path_)->size, committed_size + 1000000);
  Table t;
  t.Open(path_);
  ASSERT_EQ(t.RecCount(), 1000u);
  std::string expected, actual;
  for (uint32_t r = 1; r <= 1000; ++r) {
    t.GoTo(r);
    expected += "n" + std::to_string(r - 1) + "/memo " + std::to_string(r - 1) + "\n";
    actual += std::string(TrimBlanks(t.Get("NAME"))) + "/" + t.GetMemo("NOTE") + "\n";
  }
  EXPECT_EQ(actual, expected);
  t.SetOrder(t.TagOrder("NAME"));
  EXPECT_TRUE(t.Seek("n999"));
  EXPECT_EQ(t.RecNo(), 1000u);
  EXPECT_FALSE(t.Seek("uncommitted0"));
  // The next append overwrites what the killed writer left behind.
  t.AppendBlank();
  t.Replace("NAME", "after");
  t.Replace("NOTE", "after memo");
  t.Close();
  t.Open(path_);
  EXPECT_EQ(t.RecCount(), 1001u);
  t.GoTo(1001);
  EXPECT_EQ(t.GetMemo("NOTE"), "after memo");
  t.GoTo(1000);
  EXPECT_EQ(t.GetMemo("NOTE"), "memo 999");
}

// Failing each write or sync in turn, in each of the three ways: the table
// always reopens with either the old records or the new ones, whole, and its
// tags agree.
TEST_F(TableDurabilityTest, AFailedWriteNeverLosesOrCorruptsCommittedRecords) {
  const std::string before = "2:Ann|1|\n3:Bob|2|\n1:Cat|3|\n";
  // The new records in NAME order, as ByName() prints them.
  std::map<std::string, std::string> added;
  for (int i = 0; i < 40; ++i) {
    const std::string name = "New" + std::to_string(i);
    added[name] = std::to_string(4 + i) + ":" + name + "|" + std::to_string(10 + i) + "|" +
                  std::string(100 + i, 'x') + "\n";
  }
  std::string after = before;
  for (const auto& [name, line] : added) after += line;
  testing::FaultWalk walk;
  walk.operation = [&](Env& env) {
    MakePeople(path_, {"Cat/3", "Ann/1", "Bob/2"});
    Table t({&env, 100});
    t.Open(path_);
    try {
      for (int i = 0; i < 40; ++i) {
        t.AppendBlank();
        t.Replace("NAME", "New" + std::to_string(i));
        t.Replace("AGE", int64_t{10 + i});
        t.Replace("NOTE", std::string(100 + i, 'x'));
      }
      t.Commit();
    } catch (const ETableError& e) {
      EXPECT_EQ(e.code(), ETableError::Code::kIo);
      return false;
    }
    return true;
  };
  walk.check = [&](int point, bool succeeded) {
    Table t;
    t.Open(path_);
    const std::string state = ByName(t);
    if (succeeded) {
      EXPECT_EQ(state, after) << "failing from operation " << point;
    } else {
      EXPECT_TRUE(state == before || state == after) << "failing from operation " << point << "\n"
                                                     << state;
    }
  };
  for (const int failed : testing::WalkEveryFault(walk)) EXPECT_GT(failed, 5);
}

TEST_F(TableDurabilityTest, HandlesSeeEachOthersCommitsAndWaitForTheLock) {
  MakePeople(path_, {"Ann", "Bob"});
  Table a;
  Table b({&DefaultEnv(), 50});
  a.Open(path_);
  b.Open(path_);
  b.SetOrder(b.TagOrder("NAME"));
  a.AppendBlank();
  a.Replace("NAME", "Cy");
  EXPECT_EQ(b.RecCount(), 2u);  // not committed yet
  EXPECT_EQ(ErrorOf([&] { b.AppendBlank(); }),
            "3: The table " + path_ + " is being changed by another user; try again");
  b.GoBottom();
  b.Skip();
  ASSERT_TRUE(b.Eof());
  a.Commit();
  EXPECT_EQ(b.RecCount(), 3u);
  EXPECT_TRUE(b.Eof());  // a handle at the end stays there
  EXPECT_TRUE(b.Seek("Cy"));
  b.Replace("NAME", "Cyd");
  b.Commit();
  EXPECT_EQ(a.RecCount(), 3u);
  a.SetOrder(a.TagOrder("NAME"));
  EXPECT_TRUE(a.Seek("Cyd"));
  EXPECT_FALSE(a.Seek("Cy"));

  // Another process is kept out while this one holds the lock.
  a.AppendBlank();
  const pid_t child = ::fork();
  if (child == 0) {
    Table other({&DefaultEnv(), 50});
    other.Open(path_);
    const bool locked = ErrorOf([&] { other.AppendBlank(); }).starts_with("3: ");
    ::_exit(locked && other.RecCount() == 3 ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  a.Commit();
}

TEST_F(TableDurabilityTest, RebuildsAnIndexThatDoesNotMatchItsTable) {
  MakePeople(path_, {"Cat", "Ann"});
  const std::string cdx = dir_.File("t.cdx");
  const std::string old_index = *ReadWholeFile(cdx);
  {
    Table t;
    t.Open(path_);
    t.AppendBlank();
    t.Replace("NAME", "Bea");
  }
  // An index left from before the append, as a crash between the table's
  // commit and the index's could leave it.
  ASSERT_TRUE(WriteFileAtomically(cdx, old_index));
  {
    Table t;
    t.Open(path_);
    EXPECT_EQ(ByName(t), "2:Ann||\n3:Bea||\n1:Cat||\n");
  }
  EXPECT_NE(*ReadWholeFile(cdx), old_index);  // written back, rebuilt

  // Another program changes a record in place.
  std::string bytes = *ReadWholeFile(path_);
  const size_t at = bytes.find("Cat");
  bytes.replace(at, 3, "Dan");
  ASSERT_TRUE(WriteFileAtomically(path_, bytes));
  Table t;
  t.Open(path_);
  EXPECT_EQ(ByName(t), "2:Ann||\n3:Bea||\n1:Dan||\n");

  // Without its index file the table opens with no tags.
  t.Close();
  ::unlink(cdx.c_str());
  t.Open(path_);
  EXPECT_EQ(t.TagCount(), 0);
  EXPECT_EQ(Dump(t), "1:Dan||\n2:Ann||\n3:Bea||\n");
}

}  // namespace
}  // namespace quorvant
