#include "collector/submission_store.h"

#include <gtest/gtest.h>

#include <atomic>

#include "collector/stamp_clock.h"
#include "store_kinds.h"
#include "support/test_env.h"

namespace quorvant::collector {
namespace {

class SubmissionStoreTest : public ::testing::TestWithParam<StoreKind> {
 protected:
  SubmissionStoreTest() { Open(); }
  void Open() {
    store_.reset();
    store_ = GetParam().open(dir_.path(), [this] { return now_.load(); });
  }
  std::string Submit(const std::string& answer) {
    return store_->Submit("S1", "10.0.0.1", "agent", {{"qvx1", answer}}).value_or("refused");
  }
  // The answers handed out after the given stamp, and the last stamp.
  std::string Fetch(std::string& last) {
    const FetchResult r = store_->Fetch("S1", "pw", last);
    EXPECT_EQ(r.status, FetchStatus::kOk);
    std::string answers;
    for (const Submission& s : r.submissions) {
      answers += s.fields.at(0).second;
      last = s.stamp;
    }
    return answers;
  }

  testing::TempDir dir_;
  std::atomic<int64_t> now_{1765188000};  // 2025-12-08 10:00:00 UTC
  std::unique_ptr<SubmissionStore> store_;
};

TEST_P(SubmissionStoreTest, RegistrationKeepsTheFirstPassword) {
  EXPECT_FALSE(store_->IsRegistered("S1"));
  EXPECT_EQ(store_->Register("S1", "acct", "pw"), Registration::kRegistered);
  EXPECT_EQ(store_->Register("S1", "other", "pw"), Registration::kRenewed);
  EXPECT_EQ(store_->Register("S1", "acct", "thief"), Registration::kPasswordMismatch);
  EXPECT_EQ(store_->Register("S1", "acct", "p"), Registration::kPasswordMismatch);
  EXPECT_EQ(store_->Register("S1", "acct", ""), Registration::kPasswordMismatch);
  EXPECT_TRUE(store_->IsRegistered("S1"));
  EXPECT_EQ(store_->Fetch("S1", "thief", "").status, FetchStatus::kWrongPassword);
  EXPECT_EQ(store_->Fetch("S2", "pw", "").status, FetchStatus::kUnknownSurvey);
  EXPECT_EQ(store_->Submit("S2", "a", "b", {}), std::nullopt);
}

TEST_P(SubmissionStoreTest, FetchesNeverSkipNorRepeat) {
  store_->Register("S1", "", "pw");
  std::string last;
  EXPECT_EQ(Submit("a"), StampOf(now_));
  Submit("b");
  EXPECT_EQ(Fetch(last), "");  // their second has not passed yet
  Submit("c");
  ++now_;
  EXPECT_EQ(Fetch(last), "abc");
  Submit("d");  // arrives in the second the fetch saw as current
  EXPECT_EQ(Fetch(last), "");
  now_ -= 3600;  // the clock steps back an hour
  Submit("e");
  EXPECT_EQ(Fetch(last), "");
  now_ += 3601;
  EXPECT_EQ(Fetch(last), "de");
  EXPECT_EQ(Fetch(last), "");
}

TEST_P(SubmissionStoreTest, EverythingSurvivesReopening) {
  store_->Register("S1", "", "pw");
  Submit("x");
  ++now_;
  now_ -= 100;
  Open();  // the highest second seen is kept in the database
  Submit("y");
  now_ += 200;
  std::string last;
  EXPECT_EQ(Fetch(last), "xy");
  EXPECT_THROW(GetParam().open(dir_.File("missing/dir"), {}), StoreError);
}

TEST_P(SubmissionStoreTest, AnswersAreKeptByteForByte) {
  store_->Register("S1", "", "pw");
  std::string odd = "\"quoted\", comma\r\n&CR;\t\xE2\x82\xAC";
  odd += '\0';
  Submit(odd);
  ++now_;
  std::string last;
  EXPECT_EQ(Fetch(last), odd);
}

INSTANTIATE_TEST_SUITE_P(Stores, SubmissionStoreTest, ::testing::ValuesIn(StoreKinds()),
                         StoreKindName);

}  // namespace
}  // namespace quorvant::collector
