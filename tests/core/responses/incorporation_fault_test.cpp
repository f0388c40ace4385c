// Incorporation on a disk that fails under it: however a run ends, running
// the same reply again leaves every submission in the table exactly once.
#include <gtest/gtest.h>

#include <map>

#include "core/env/table_error.h"
#include "core/responses/incorporation.h"
#include "core/responses/response_table.h"
#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"
#include "response_test_util.h"
#include "support/fault_driver.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

class IncorporationFaultTest : public testing::CoreTest {
 protected:
  static constexpr int kSubmissions = 60;

  IncorporationFaultTest() {
    testing::AddQuestion(survey_, kStyleSingleChoice, "Smoke?", {"Yes", "No"}, false);
    testing::AddQuestion(survey_, kStyleText, "Why?", {}, false, -1);
    survey_.SetFileName(dir_.File("survey.qvx"));
    survey_.Save();
    // Several submissions in each second, as a busy collector stores them.
    std::string reply = "<DATA>\r\n";
    for (int i = 0; i < kSubmissions; ++i) {
      reply += "RemoteAddr=10.0.0.1,UserAgent=t,DateRec=2026010100" + std::to_string(1000 + i / 4) +
               ",QVXEMAILADDRESS=r" + std::to_string(i) + "@x,qvx1=1,qvx2=because " +
               std::string(i * 7, 'w') + "\r\n";
    }
    testing::WriteFileOrDie(dir_.File("reply.dat"), reply + "</DATA>\r\n");
  }

  // Whether the run reported that it ran to its end.
  bool Incorporate(TResponseTable& table) {
    TAddResponseResult result;
    quorvant::Incorporate(survey_, dir_.File("reply.dat"), result, prompts_, table);
    table.Close();
    return result.Completed;
  }

  // How often each e-mail address stands in the table.
  std::map<std::string, int> Held() {
    std::map<std::string, int> held;
    Table t;
    t.Open(survey_.SRResponseFile());
    for (uint32_t r = 1; r <= t.RecCount(); ++r) {
      t.GoTo(r);
      ++held[std::string(TrimBlanks(t.Get("EMAIL")))];
    }
    return held;
  }

  TSurvey survey_{settings_};
  testing::ScriptedPrompts prompts_;
};

TEST_F(IncorporationFaultTest, AFailedRunAndTheNextLeaveEverySubmissionOnce) {
  testing::FaultWalk walk;
  walk.operation = [&](Env& env) {
    // A fresh start: the table made and empty, the survey asking for all.
    {
      TResponseTable table(prompts_);
      survey_.SetSRLastUpdate("Never");
      EXPECT_TRUE(table.Create(survey_));
    }
    TResponseTable table(prompts_, {&env, 100});
    EXPECT_TRUE(OpenResponsesOfLoadedSurvey(survey_, table));
    return Incorporate(table);
  };
  walk.check = [&](int point, bool) {
    TSurvey reloaded(settings_);
    reloaded.Load(survey_.FileName());
    TResponseTable table(prompts_);
    ASSERT_TRUE(OpenResponsesOfLoadedSurvey(reloaded, table));
    CatchUpLastUpdate(reloaded, table);
    TAddResponseResult result;
    quorvant::Incorporate(reloaded, dir_.File("reply.dat"), result, prompts_, table);
    table.Close();
    const auto held = Held();
    EXPECT_EQ(held.size(), static_cast<size_t>(kSubmissions)) << "failing from " << point;
    for (const auto& [email, count] : held) EXPECT_EQ(count, 1) << email << " from " << point;
  };
  for (const int failed : testing::WalkEveryFault(walk)) EXPECT_GT(failed, 3);
}

}  // namespace
}  // namespace quorvant
