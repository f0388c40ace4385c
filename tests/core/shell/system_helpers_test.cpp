#include "core/shell/system_helpers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>

#include "core/shell/atomic_file.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class SystemHelpersTest : public testing::CoreTest {};

TEST_F(SystemHelpersTest, TempFileNameUsesTimeWithoutLeadingZeros) {
  SetTime({2024, 5, 6, 7, 8, 9, 0});
  ::setenv("TMPDIR", dir_.path().c_str(), 1);
  EXPECT_EQ(MakeTempFileName("htm", env_), dir_.path() + "/qv789.htm");
  ::setenv("TMPDIR", "/definitely/not/here", 1);
  EXPECT_EQ(MakeTempFileName("htm", env_), "/tmp/qv789.htm");
  ::unsetenv("TMPDIR");
}

TEST_F(SystemHelpersTest, VersionTextHasTwoBlanksBeforeTheBuild) {
  EXPECT_TRUE(std::regex_match(FileVersionText(), std::regex(R"(\d+\.\d+  \(Build \d+\))")))
      << FileVersionText();
}

TEST_F(SystemHelpersTest, DelayProcessesEventsUntilTheTimeHasPassed) {
  int calls = 0;
  const auto start = std::chrono::steady_clock::now();
  Delay(30, [&] { ++calls; });
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
  EXPECT_GT(calls, 1);
}

TEST_F(SystemHelpersTest, AtomicWriteKeepsTheOldFileOnFailure) {
  const std::string path = dir_.File("a.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "one"));
  ASSERT_TRUE(WriteFileAtomically(path, "two"));
  EXPECT_EQ(ReadWholeFile(path), "two");
  EXPECT_FALSE(WriteFileAtomically(dir_.path(), "x"));  // a folder is no file to replace
  EXPECT_FALSE(WriteFileAtomically(dir_.File("missing/a.txt"), "x"));
  EXPECT_FALSE(ReadWholeFile(dir_.path()));
  // No temporary siblings are left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir_.path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST_F(SystemHelpersTest, AtomicWriteFollowsSymbolicLinks) {
  const std::string target = dir_.File("target.txt");
  const std::string link = dir_.File("link.txt");
  ASSERT_TRUE(WriteFileAtomically(target, "old"));
  std::filesystem::create_symlink(target, link);
  ASSERT_TRUE(WriteFileAtomically(link, "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadWholeFile(target), "new");
}

}  // namespace
}  // namespace quorvant
