#include "core/survey/survey_document.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "core/shell/atomic_file.h"
#include "core/shell/settings_keys.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

namespace quorvant {
namespace {

namespace fs = std::filesystem;

// Answers the document's questions from queues and logs every question and
// every change of survey the view hears of, in order.
class ScriptedFileDialogs : public SurveyFileDialogs, public SurveyDocumentView {
 public:
  SaveAnswer ConfirmSave() override {
    log.push_back("confirm save");
    if (save_answers.empty()) {
      ADD_FAILURE() << "unexpected Confirm Save";
      return SaveAnswer::kCancel;
    }
    const SaveAnswer answer = save_answers.front();
    save_answers.pop_front();
    return answer;
  }
  std::string ChooseSurveyToSave(const std::string& dir, const std::string& initial) override {
    log.push_back("choose in " + dir + " from '" + initial + "'");
    if (names.empty()) {
      ADD_FAILURE() << "unexpected Save Survey";
      return "";
    }
    const std::string name = names.front();
    names.pop_front();
    return name;
  }
  void FileNotFound(const std::string& text) override { log.push_back("not found: " + text); }
  void SurveyClosing() override { log.push_back("closing"); }
  void SurveyCleared() override { log.push_back("cleared"); }
  void SurveyLoaded() override { log.push_back("loaded"); }
  void SurveyReplaced() override { log.push_back("replaced"); }

  // The log since the last call, joined by "; ".
  std::string Take() {
    std::string out;
    for (const std::string& line : log) out += (out.empty() ? "" : "; ") + line;
    log.clear();
    return out;
  }

  std::deque<SaveAnswer> save_answers;
  std::deque<std::string> names;  // "" cancels the file dialog
  std::vector<std::string> log;
};

class SurveyDocumentTest : public testing::CoreTest {
 protected:
  SurveyDocumentTest() { fs::create_directories(dir_.File("home")); }

  // A saved survey file of `items` text questions.
  std::string MakeFile(const std::string& name, int items) {
    TSurvey s(settings_);
    for (int i = 0; i < items; ++i)
      s.AddItem(name + std::to_string(i), kStyleText, 0, 0, 0, false, -1, "");
    s.SaveAs(dir_.File(name));
    return dir_.File(name);
  }

  // The survey's item texts and state, as one line.
  std::string State(const SurveyDocument& doc) {
    const TSurvey& s = doc.Survey();
    std::string out = s.HasFile() ? s.FileName().substr(dir_.path().size() + 1) : "untitled";
    out += s.Modified() ? " modified:" : ":";
    for (const TQuestion& q : s.Items()) out += " " + q.Text;
    return out;
  }

  std::string Recent(const SurveyDocument& doc) {
    std::string out;
    for (const std::string& f : doc.Recent().Files()) {
      out += (out.empty() ? "" : " ") + f.substr(dir_.path().size() + 1);
    }
    return out;
  }

  testing::ScriptedPrompts prompts_;
  ScriptedFileDialogs dialogs_;
};

TEST_F(SurveyDocumentTest, WholeLifeOfADocument) {
  settings_.Write(settings::kLastDirSavedTo, dir_.File("home"));
  const std::string other = MakeFile("other.qvx", 1);
  SurveyDocument doc(settings_, prompts_, &dialogs_, &dialogs_);
  doc.ReadSettings(settings_);
  EXPECT_EQ(doc.LastDirectory(), dir_.File("home"));

  // A new survey, edited: New asks first; Cancel keeps it, No drops it.
  doc.Survey().AddItem("Draft", kStyleText, 0, 0, 0, false, -1, "");
  dialogs_.save_answers = {SaveAnswer::kCancel, SaveAnswer::kNo};
  EXPECT_FALSE(doc.New());
  EXPECT_EQ(State(doc), "untitled modified: Draft");
  EXPECT_TRUE(doc.New());
  EXPECT_EQ(dialogs_.Take(), "confirm save; confirm save; closing; cleared");
  EXPECT_EQ(State(doc), "untitled:");

  // Save of an untitled survey goes through Save As; a cancelled name
  // writes nothing and keeps the survey modified.
  doc.Survey().AddItem("Apple?", kStyleText, 0, 0, 0, false, -1, "");
  const std::string untitled = doc.Survey().FileName();  // the proposed name
  dialogs_.names = {"", dir_.File("home/fruit")};
  EXPECT_FALSE(doc.Save());
  EXPECT_EQ(State(doc), "untitled modified: Apple?");
  EXPECT_TRUE(doc.Save());
  const std::string asked = "choose in " + dir_.File("home") + " from '" + untitled + "'";
  EXPECT_EQ(dialogs_.Take(), asked + "; " + asked);
  EXPECT_EQ(State(doc), "home/fruit.qvx: Apple?");
  EXPECT_EQ(Recent(doc), "home/fruit.qvx");
  EXPECT_EQ(doc.LastDirectory(), dir_.File("home"));

  // Open asks about changes; Yes saves in place, then the other file opens
  // and the one before goes on the list.
  doc.Survey().AddItem("Pear?", kStyleText, 0, 0, 0, false, -1, "");
  dialogs_.save_answers = {SaveAnswer::kYes};
  EXPECT_TRUE(doc.Open(other));
  EXPECT_EQ(dialogs_.Take(), "confirm save; closing; cleared; loaded; replaced");
  EXPECT_EQ(State(doc), "other.qvx: other.qvx0");
  EXPECT_EQ(Recent(doc), "other.qvx home/fruit.qvx");

  // Reopen from the list: the saved edit is there.
  EXPECT_TRUE(doc.Reopen(1));
  EXPECT_EQ(State(doc), "home/fruit.qvx: Apple? Pear?");
  EXPECT_EQ(Recent(doc), "home/fruit.qvx other.qvx");

  // Save As under another name writes a fresh copy and opens it in place.
  fs::create_directories(dir_.File("copies"));
  dialogs_.Take();
  dialogs_.names = {dir_.File("copies/fruit2.qvx")};
  EXPECT_TRUE(doc.SaveAs());
  EXPECT_EQ(dialogs_.Take(), "choose in " + dir_.File("home") + " from '" +
                                 dir_.File("home/fruit.qvx") +
                                 "'; closing; cleared; loaded; replaced");
  EXPECT_EQ(State(doc), "copies/fruit2.qvx: Apple? Pear?");
  EXPECT_EQ(Recent(doc), "copies/fruit2.qvx home/fruit.qvx other.qvx");
  EXPECT_EQ(doc.LastDirectory(), dir_.File("copies"));

  // An unmodified survey is replaced without a question.
  EXPECT_TRUE(doc.New());
  EXPECT_EQ(dialogs_.Take(), "closing; cleared");
  EXPECT_TRUE(prompts_.log.empty());

  // The list and folder survive to the next run.
  doc.WriteRecentFiles(settings_);
  SurveyDocument next(settings_, prompts_);
  next.ReadSettings(settings_);
  EXPECT_EQ(Recent(next), "copies/fruit2.qvx home/fruit.qvx other.qvx");
}

TEST_F(SurveyDocumentTest, RequireSaveLetsOnlyYesGoOn) {
  SurveyDocument doc(settings_, prompts_, &dialogs_, &dialogs_);
  EXPECT_TRUE(doc.Load(MakeFile("a.qvx", 1)));
  EXPECT_TRUE(doc.RequireSave());  // nothing to save, nothing asked
  EXPECT_TRUE(doc.QuerySave());
  EXPECT_EQ(dialogs_.Take(), "loaded");

  doc.Survey().SetName("Changed");
  dialogs_.save_answers = {SaveAnswer::kNo, SaveAnswer::kCancel, SaveAnswer::kNo};
  EXPECT_FALSE(doc.RequireSave());
  EXPECT_FALSE(doc.RequireSave());
  EXPECT_TRUE(doc.QuerySave());  // No: the caller may drop the changes
  EXPECT_TRUE(doc.Survey().Modified());
  dialogs_.save_answers = {SaveAnswer::kYes};
  EXPECT_TRUE(doc.RequireSave());
  EXPECT_FALSE(doc.Survey().Modified());
  TSurvey back(settings_);
  back.Load(dir_.File("a.qvx"));
  EXPECT_EQ(back.Name(), "Changed");
}

// The file's place is taken by a folder with a file in it, so that no
// write can replace it.
TEST_F(SurveyDocumentTest, FailedSaveKeepsTheChangesAndLosesNothing) {
  SurveyDocument doc(settings_, prompts_, &dialogs_, &dialogs_);
  const std::string path = MakeFile("a.qvx", 2);
  ASSERT_TRUE(doc.Load(path));
  doc.Survey().AddItem("Unsaved", kStyleText, 0, 0, 0, false, -1, "");
  fs::remove(path);
  fs::create_directories(path);
  testing::WriteFileOrDie(path + "/keep.txt", "kept");

  dialogs_.save_answers = {SaveAnswer::kYes, SaveAnswer::kYes};
  EXPECT_FALSE(doc.QuerySave());
  EXPECT_FALSE(doc.Open(MakeFile("b.qvx", 1)));
  EXPECT_FALSE(doc.Save());
  ASSERT_EQ(prompts_.log.size(), 3u);
  EXPECT_EQ(prompts_.log[0], "error: Unable to write to " + path);
  EXPECT_EQ(State(doc), "a.qvx modified: a.qvx0 a.qvx1 Unsaved");
  EXPECT_EQ(testing::ReadFileOrDie(path + "/keep.txt"), "kept");

  // A failed Save As to a folder that is not there changes nothing either.
  dialogs_.names = {dir_.File("missing/c.qvx")};
  EXPECT_FALSE(doc.SaveAs());
  EXPECT_EQ(State(doc), "a.qvx modified: a.qvx0 a.qvx1 Unsaved");
  EXPECT_FALSE(fs::exists(dir_.File("missing")));
  EXPECT_EQ(prompts_.log.size(), 4u);

  // Once the place is free again the same Save succeeds.
  fs::remove_all(path);
  EXPECT_TRUE(doc.Save());
  TSurvey back(settings_);
  back.Load(path);
  EXPECT_EQ(back.ItemCount(), 3);
}

TEST_F(SurveyDocumentTest, ReopenOfAMissingFileOrDamagedFileLeavesAnUntitledSurvey) {
  SurveyDocument doc(settings_, prompts_, &dialogs_, &dialogs_);
  const std::string gone = MakeFile("gone.qvx", 1);
  const std::string kept = MakeFile("kept.qvx", 1);
  ASSERT_TRUE(doc.Load(gone));
  ASSERT_TRUE(doc.Open(kept));
  EXPECT_EQ(Recent(doc), "kept.qvx gone.qvx");
  dialogs_.Take();

  EXPECT_FALSE(doc.Reopen(-1));
  EXPECT_FALSE(doc.Reopen(2));
  fs::remove(gone);
  EXPECT_TRUE(doc.Reopen(1));
  EXPECT_EQ(dialogs_.Take(),
            "not found: " + gone + " is no longer there.  It may have been deleted or moved.");
  EXPECT_EQ(Recent(doc), "kept.qvx");
  EXPECT_EQ(State(doc), "kept.qvx: kept.qvx0");

  // A folder where the survey should be cannot be read: reported, and a new
  // survey stands in its place rather than a half-read one.
  fs::create_directories(dir_.File("folder.qvx"));
  EXPECT_TRUE(doc.Open(dir_.File("folder.qvx")));
  EXPECT_EQ(dialogs_.Take(), "closing; cleared; replaced");
  ASSERT_EQ(prompts_.log.size(), 1u);
  EXPECT_EQ(prompts_.log[0].rfind("error: ", 0), 0u);
  EXPECT_EQ(State(doc), "untitled:");
}

TEST_F(SurveyDocumentTest, TemporaryFilesAreRemovedAtTheEnd) {
  SurveyDocument doc(settings_, prompts_, &dialogs_, &dialogs_);
  testing::WriteFileOrDie(dir_.File("page.htm"), "x");
  testing::WriteFileOrDie(dir_.File("chart.fodt"), "y");
  doc.AddTemporaryFile(dir_.File("page.htm"));
  doc.AddTemporaryFile(dir_.File("chart.fodt"));
  doc.AddTemporaryFile(dir_.File("never-written.htm"));
  EXPECT_EQ(doc.TemporaryFiles().size(), 3u);
  doc.RemoveTemporaryFiles();
  EXPECT_TRUE(doc.TemporaryFiles().empty());
  EXPECT_FALSE(fs::exists(dir_.File("page.htm")));
  EXPECT_FALSE(fs::exists(dir_.File("chart.fodt")));
  EXPECT_TRUE(prompts_.log.empty());
}

// A command-line run has nobody to ask: changes are never dropped or
// written behind the caller's back.
TEST_F(SurveyDocumentTest, WithoutDialogsNothingIsAskedOrWrittenUnasked) {
  SurveyDocument doc(settings_, prompts_);
  doc.Survey().AddItem("Q", kStyleText, 0, 0, 0, false, -1, "");
  EXPECT_FALSE(doc.QuerySave());
  EXPECT_FALSE(doc.RequireSave());
  EXPECT_FALSE(doc.New());
  EXPECT_FALSE(doc.Save());  // no name can be chosen
  EXPECT_EQ(State(doc), "untitled modified: Q");

  EXPECT_TRUE(doc.WriteTo(dir_.File("q.qvx")));
  EXPECT_EQ(State(doc), "q.qvx: Q");
  EXPECT_FALSE(doc.WriteTo(dir_.File("missing/q.qvx")));
  EXPECT_EQ(prompts_.log.size(), 1u);
  EXPECT_TRUE(prompts_.log.back().starts_with("error: Unable to write to "));
  EXPECT_TRUE(FileExists(dir_.File("q.qvx")));
}

}  // namespace
}  // namespace quorvant
