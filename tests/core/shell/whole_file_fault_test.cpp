// The writers that replace a whole file (survey files, question libraries,
// response templates, the settings file) on an env that fails the Nth
// operation in each of its three ways: the failure is reported, the file
// holds exactly what it held before, and once the disk is back the same
// write succeeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/libraries/library_files.h"
#include "core/libraries/response_template.h"
#include "core/shell/atomic_file.h"
#include "core/shell/profile_file.h"
#include "core/shell/settings_store.h"
#include "core/survey/comma_text.h"
#include "core/survey/question.h"
#include "core/survey/survey.h"
#include "support/fault_driver.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

namespace fs = std::filesystem;

struct Writer {
  std::string name;
  std::string path;
  std::function<void()> write_old;
  // Writes the new contents through env; false when it reported a failure.
  std::function<bool(Env& env)> write_new;
};

class WholeFileFaultTest : public testing::CoreTest {
 protected:
  void MakeSurvey(TSurvey& survey, const std::string& path, int questions) {
    survey.Clear();
    survey.SetName("Faults");
    for (int i = 0; i < questions; ++i) {
      survey.AddItem("Question " + std::to_string(i), kStyleSingleChoice, 1, 9, 0, false, 0,
                     JoinCommaText({"Yes", "No"}));
    }
    survey.SetFileName(path);
  }

  // Runs the write; false when it threw the error that the window and the
  // CLI show, whose text must name the file it could not write.
  static bool Reported(const std::function<void()>& write) {
    try {
      write();
      return true;
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find("Unable to write to"), std::string::npos) << e.what();
      return false;
    }
  }

  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  void Check(const Writer& w) {
    std::string before;
    std::vector<std::string> files;
    testing::FaultWalk walk;
    walk.operation = [&](Env& env) {
      w.write_old();
      before = testing::ReadFileOrDie(w.path);
      files = Listing();
      return w.write_new(env);
    };
    walk.check = [&](int point, bool succeeded) {
      const std::string after = testing::ReadFileOrDie(w.path);
      if (succeeded) {
        EXPECT_NE(after, before) << w.name;
        return;
      }
      EXPECT_EQ(after, before) << w.name << " failing at " << point;
      EXPECT_EQ(Listing(), files) << w.name << ": the temporary file stayed";
      EXPECT_TRUE(w.write_new(env_)) << w.name << ": the write fails once the disk is back";
    };
    for (const int failed : testing::WalkEveryFault(walk, env_)) {
      EXPECT_GT(failed, 0) << w.name << " does not write through the env";
    }
  }
};

TEST_F(WholeFileFaultTest, EveryWholeFileWriterKeepsTheOldFileWhenTheDiskFails) {
  TSurvey survey(settings_);
  const std::string survey_path = dir_.File("survey.qvx");
  const std::string library = dir_.File("ql0.qvl");
  const std::string template_path = dir_.File("rtemp0.qvt");
  const std::string settings_path = dir_.File("quorvant.ini");
  const std::vector<Writer> writers = {
      {"survey", survey_path,
       [&] {
         MakeSurvey(survey, survey_path, 40);
         survey.Save();
       },
       [&](Env& env) {
         const SettingsStore faulty(settings_.Path(), env);
         TSurvey edited(faulty);
         edited.Load(survey_path);
         edited.SetName("Faults, edited");
         return Reported([&] { edited.Save(); });
       }},
      {"library", library,
       [&] {
         MakeSurvey(survey, survey_path, 3);
         TSurvey empty(settings_);
         MakeSurvey(empty, library, 0);
         empty.Save();
       },
       [&](Env& env) {
         const SettingsStore faulty(settings_.Path(), env);
         return Reported([&] { AppendToQuestionLibrary(library, survey, {0, 2}, faulty); });
       }},
      {"template", template_path,
       [&] {
         WriteResponseTemplate(template_path, {"Old scale", {"Low", "High"}});
       },
       [&](Env& env) {
         return Reported([&] {
           WriteResponseTemplate(template_path, {"New scale", {"1", "2", "3"}}, env);
         });
       }},
      {"settings", settings_path,
       [&] {
         SettingsStore store(settings_path);
         store.WriteString("Email", "SMTPHost", "old.example.org");
       },
       [&](Env& env) {
         SettingsStore store(settings_path, env);
         store.WriteString("Email", "SMTPHost", "new.example.org");
         return !store.WriteFailed();
       }},
  };
  for (const Writer& w : writers) Check(w);
}

}  // namespace
}  // namespace quorvant
