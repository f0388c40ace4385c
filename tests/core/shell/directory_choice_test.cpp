// OK in the directory chooser: take, create after asking, or report.
#include "core/shell/directory_choice.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/shell/atomic_file.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

struct Chooser {
  explicit Chooser(bool yes = false) : answer(yes) {}
  bool answer;
  std::vector<std::string> asked;
  std::vector<std::string> errors;
  bool Accept(const std::string& name) {
    return AcceptDirectory(
        name,
        [this](const std::string& q) {
          asked.push_back(q);
          return answer;
        },
        [this](const std::string& m) { errors.push_back(m); });
  }
};

TEST(DirectoryChoiceTest, ExistingDirectoryIsTakenWithoutAsking) {
  testing::TempDir dir;
  Chooser run;
  EXPECT_TRUE(run.Accept(dir.path()));
  EXPECT_TRUE(run.asked.empty());
}

TEST(DirectoryChoiceTest, MissingDirectoryAnsweredNoStaysMissing) {
  testing::TempDir dir;
  Chooser run;
  EXPECT_FALSE(run.Accept(dir.File("new")));
  EXPECT_EQ(run.asked, std::vector<std::string>{"The directory named " + dir.File("new") +
                                                " does not exists.  Create it?"});
  EXPECT_FALSE(DirectoryExists(dir.File("new")));
  EXPECT_TRUE(run.errors.empty());
}

TEST(DirectoryChoiceTest, MissingDirectoryAnsweredYesIsCreated) {
  testing::TempDir dir;
  Chooser run(true);
  EXPECT_TRUE(run.Accept(dir.File("new")));
  EXPECT_TRUE(DirectoryExists(dir.File("new")));
  EXPECT_TRUE(run.errors.empty());
}

TEST(DirectoryChoiceTest, OnlyOneLevelIsCreatedAndAFailureIsReported) {
  testing::TempDir dir;
  testing::WriteFileOrDie(dir.File("file"), "x");
  for (const std::string& name : {dir.File("a/b"), dir.File("file")}) {
    Chooser run(true);
    EXPECT_FALSE(run.Accept(name)) << name;
    EXPECT_EQ(run.errors, std::vector<std::string>{"Error creating directory " + name +
                                                   ".  Please try another name."});
  }
  EXPECT_FALSE(DirectoryExists(dir.File("a")));
}

}  // namespace
}  // namespace quorvant
