// The writers that replace a whole file (survey files, question libraries,
// response templates, the settings file) on a file layer that fails the Nth
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
#include "support/fault_file_system.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

using testing::FaultFileSystem;
namespace fs = std::filesystem;

struct Writer {
  std::string name;
  std::string path;
  std::function<void()> write_old;
  // Writes the new contents; false when it reported a failure.
  std::function<bool()> write_new;
};

class WholeFileFaultTest : public testing::CoreTest {
 protected:
  ~WholeFileFaultTest() override { SetWholeFileSystem(nullptr); }

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
    for (const auto fault : {FaultFileSystem::Fault::kFail, FaultFileSystem::Fault::kShortWrite,
                             FaultFileSystem::Fault::kDiskFull}) {
      bool succeeded = false;
      int failures = 0;
      for (int n = 1; !succeeded && n < 20; ++n) {
        SetWholeFileSystem(nullptr);
        w.write_old();
        const std::string before = testing::ReadFileOrDie(w.path);
        const std::vector<std::string> files = Listing();
        FaultFileSystem faults;
        faults.FailFrom(n, fault);
        SetWholeFileSystem(&faults);
        succeeded = w.write_new();
        SetWholeFileSystem(nullptr);
        const std::string after = testing::ReadFileOrDie(w.path);
        if (succeeded) {
          // A full disk lets syncs, renames and writes in place through.
          if (fault != FaultFileSystem::Fault::kDiskFull) EXPECT_LT(faults.operations(), n) << w.name << ": a failed step went unreported";
          EXPECT_NE(after, before) << w.name;
        } else {
          ++failures;
          EXPECT_EQ(after, before) << w.name << ", fault " << static_cast<int>(fault) << " at " << n;
          // A full disk still lets the half-written temporary file go.
          if (fault == FaultFileSystem::Fault::kDiskFull) EXPECT_EQ(Listing(), files) << w.name;
          EXPECT_TRUE(w.write_new()) << w.name << ": the write fails once the disk is back";
        }
      }
      EXPECT_TRUE(succeeded) << w.name;
      EXPECT_GT(failures, 0) << w.name << " does not write through the file layer";
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
       [&] {
         survey.SetName("Faults, edited");
         return Reported([&] { survey.Save(); });
       }},
      {"library", library,
       [&] {
         MakeSurvey(survey, survey_path, 3);
         TSurvey empty(settings_);
         MakeSurvey(empty, library, 0);
         empty.Save();
       },
       [&] { return Reported([&] { AppendToQuestionLibrary(library, survey, {0, 2}, settings_); }); }},
      {"template", template_path,
       [&] { WriteResponseTemplate(template_path, {"Old scale", {"Low", "High"}}); },
       [&] {
         return Reported(
             [&] { WriteResponseTemplate(template_path, {"New scale", {"1", "2", "3"}}); });
       }},
      {"settings", settings_path,
       [&] {
         SettingsStore store(settings_path);
         store.WriteString("Email", "SMTPHost", "old.example.org");
       },
       [&] {
         SettingsStore store(settings_path);
         store.WriteString("Email", "SMTPHost", "new.example.org");
         return !store.WriteFailed();
       }},
  };
  for (const Writer& w : writers) Check(w);
}

}  // namespace
}  // namespace quorvant
