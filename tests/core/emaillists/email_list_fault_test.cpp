// Editing an e-mail list on a disk that fails under it, in each of the fault
// env's three ways and at every step of the edit: the edit reports its
// error, and the list reopens with every committed person in it, the edited
// one either as before or as changed.
#include <gtest/gtest.h>

#include <string>

#include "core/emaillists/email_list.h"
#include "core/env/table_error.h"
#include "support/fault_driver.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class EmailListFaultTest : public testing::CoreTest {
 protected:
  static constexpr uint32_t kPeople = 30;

  void MakeList() {
    TEmailList list(prompts_);
    ASSERT_TRUE(list.Create(path_));
    std::vector<EmailRecord> people;
    for (uint32_t i = 0; i < kPeople; ++i) {
      people.push_back({"Ann" + std::to_string(i), "Lee" + std::to_string(100 + i),
                        "ann" + std::to_string(i) + "@example.org"});
    }
    list.AppendAll(people);
  }

  // The list as it reopens on a sound disk: every person from the first
  // kPeople records unchanged, except that record `edited` may carry `changed`.
  void ExpectIntact(const std::string& what, uint32_t edited, const std::string& changed) {
    TEmailList list(prompts_);
    ASSERT_NO_THROW(list.Open(path_)) << what;
    ASSERT_GE(list.RecordCount(), kPeople) << what;
    for (uint32_t recno = 1; recno <= kPeople; ++recno) {
      const EmailRecord r = list.Read(recno);
      const std::string address = "ann" + std::to_string(recno - 1) + "@example.org";
      if (recno == edited) {
        EXPECT_TRUE(r[2] == address || r[2] == changed) << what << ": " << r[2];
      } else {
        EXPECT_EQ(r[2], address) << what << ", record " << recno;
      }
    }
    EXPECT_TRUE(list.Find("Lee1").has_value()) << what;
  }

  std::string path_ = dir_.File("people.eml");
  testing::ScriptedPrompts prompts_;
};

TEST_F(EmailListFaultTest, FailedEditsKeepEveryCommittedPerson) {
  for (const bool append : {false, true}) {
    const std::string what = append ? "append" : "edit";
    testing::FaultWalk walk;
    walk.operation = [&](Env& env) {
      MakeList();
      TEmailList list(prompts_, {&env});
      list.Open(path_);
      if (append) {
        list.Append({"New", "Person", "new@example.org"});
      } else {
        list.Write(5, 2, "changed@example.org");
      }
      return true;
    };
    walk.check = [&](int point, bool) {
      ExpectIntact(what + " failing at " + std::to_string(point), append ? 0 : 5,
                   "changed@example.org");
    };
    for (const int failed : testing::WalkEveryFault(walk)) EXPECT_GT(failed, 0) << what;
  }
}

}  // namespace
}  // namespace quorvant
