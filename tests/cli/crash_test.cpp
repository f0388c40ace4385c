// quorvant-cli killed at random moments while it incorporates a large reply,
// saves a large survey, imports addresses into an e-mail list or adds items
// to a question library. Afterwards every file opens, nothing committed is
// missing, and running the same work again neither loses nor repeats a
// submission.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "cli_runner.h"
#include "core/emaillists/email_list.h"
#include "core/libraries/library_files.h"
#include "core/libraries/response_template.h"
#include "core/responses/response_fields.h"
#include "core/shell/atomic_file.h"
#include "core/shell/settings_store.h"
#include "core/shell/text_helpers.h"
#include "core/survey/comma_text.h"
#include "core/survey/question.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"
#include "support/scripted_prompts.h"
#include "support/test_env.h"

extern char** environ;

namespace quorvant {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kSubmissions = 3000;
constexpr int kTrials = 30;

// Runs quorvant-cli with args and kills it after delay; false when it had
// ended by then. A zero delay lets it finish.
bool RunAndKill(const std::string& dir, std::vector<std::string> args,
                std::chrono::microseconds delay) {
  const std::string config = "QUORVANT_CONFIG_DIR=" + dir + "/config";
  std::vector<char*> env;
  for (char** e = environ; *e != nullptr; ++e) env.push_back(*e);
  env.push_back(const_cast<char*>(config.c_str()));
  env.push_back(nullptr);
  args.insert(args.begin(), QUORVANT_CLI_PATH);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  bool killed = false;
  if (delay.count() > 0) {
    std::this_thread::sleep_for(delay);
    killed = ::waitpid(pid, nullptr, WNOHANG) == 0 && ::kill(pid, SIGKILL) == 0;
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) killed = false;
  if (!killed) {
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  return killed;
}

class CrashTest : public ::testing::Test {
 protected:
  CrashTest() : settings_(dir_.File("settings.ini")) {}

  // A survey of questions questions whose file is path.
  void MakeSurvey(const std::string& path, int questions) {
    TSurvey survey(settings_);
    survey.Clear();
    survey.SetUniqueName("CRASH");
    for (int i = 0; i < questions; ++i) {
      survey.AddItem("Question " + std::to_string(i), i % 2 ? kStyleNumeric : kStyleSingleChoice, 1,
                     9, 0, false, 0, JoinCommaText({"Yes", "No", "Maybe"}));
    }
    survey.SetFileName(path);
    survey.Save();
  }

  // A reply of kSubmissions submissions, several in each second as a busy
  // server stores them.
  std::string MakeReply() const {
    std::string reply = "<DATA>\r\n";
    for (int i = 0; i < kSubmissions; ++i) {
      reply += "RemoteAddr=10.0.0." + std::to_string(i % 250) + ",UserAgent=test,DateRec=2026120" +
               std::to_string(1000000 + i / 7) + ",QVXEMAILADDRESS=r" + std::to_string(i) +
               "@example.org,qvx1=" + std::to_string(i % 3) + ",qvx2=" + std::to_string(i % 9) +
               "\r\n";
    }
    return reply + "</DATA>\r\n";
  }

  // How often each e-mail address stands in the survey's response table.
  std::map<std::string, int> Held(const std::string& survey_path) {
    TSurvey survey(settings_);
    survey.Load(survey_path);
    std::map<std::string, int> held;
    if (!FileExists(ResponseTablePath(survey))) return held;
    Table table;
    table.Open(ResponseTablePath(survey));
    for (table.GoTop(); !table.Eof(); table.Skip())
      ++held[std::string(TrimBlanks(table.Get("EMAIL")))];
    return held;
  }

  // Runs work undisturbed once (after prepare), then kTrials times killed
  // at a random moment within that run's time, calling check after each.
  template <typename Prepare, typename Check>
  void KillAtRandom(const std::vector<std::string>& work, Prepare prepare, Check check) {
    prepare();
    const auto start = Clock::now();
    RunAndKill(dir_.path(), work, {});
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    check(-1);
    std::mt19937 random(11);
    for (int trial = 0; trial < kTrials; ++trial) {
      prepare();
      RunAndKill(dir_.path(), work, std::chrono::microseconds(1 + random() % took.count()));
      check(trial);
    }
  }

  testing::TempDir dir_;
  SettingsStore settings_;
};

TEST_F(CrashTest, KilledEmailListImportLeavesTheListBeforeOrAfter) {
  constexpr int kAddresses = 5000;
  std::string csv = "First Name,Last Name,Email Address\r\n";
  for (int i = 0; i < kAddresses; ++i) {
    csv += "Ann" + std::to_string(i) + ",\"Lee, Jr.\",ann" + std::to_string(i) + "@example.org\r\n";
  }
  ASSERT_TRUE(WriteFileAtomically(dir_.File("in.csv"), csv));
  const std::string list = dir_.File("list.eml");
  testing::ScriptedPrompts prompts;
  KillAtRandom(
      {"emaillist", "import", list, dir_.File("in.csv")},
      [&] {
        for (const char* ext : {".eml", ".fpt", ".cdx"})
          fs::remove(dir_.File(std::string("list") + ext));
        RunAndKill(dir_.path(), {"emaillist", "new", list}, {});
      },
      [&](int trial) {
        TEmailList opened(prompts);
        opened.Open(list);
        const uint32_t count = opened.RecordCount();
        // The import commits once, at its end: all of it or none.
        EXPECT_TRUE(count == 0 || count == kAddresses) << trial << ": " << count;
        if (trial < 0) {
          EXPECT_EQ(count, static_cast<uint32_t>(kAddresses));
        }
        EXPECT_EQ(opened.Find("Lee").has_value(), count > 0) << trial;
      });
  EXPECT_TRUE(prompts.log.empty());
}

TEST_F(CrashTest, KilledLibraryAddLeavesTheOldLibraryOrTheNew) {
  const std::string survey = dir_.File("big.qvx");
  MakeSurvey(survey, 1500);
  const std::string library = dir_.File("ql0.qvl");
  KillAtRandom(
      {"library", "add", library, survey},
      [&] {
        fs::remove(library);
        TSurvey empty(settings_);
        empty.Clear();
        empty.SetName("Crash library");
        empty.SetFileName(library);
        empty.Save();
      },
      [&](int trial) {
        TSurvey reloaded(settings_);
        reloaded.Load(library);
        EXPECT_TRUE(reloaded.ItemCount() == 0 || reloaded.ItemCount() == 1500)
            << trial << ": " << reloaded.ItemCount();
        if (trial < 0) {
          EXPECT_EQ(reloaded.ItemCount(), 1500);
        }
        EXPECT_EQ(QuestionLibraryName(library), "Crash library");
      });
}

TEST_F(CrashTest, KilledTemplateWriteLeavesTheOldTemplateOrTheNew) {
  const std::string values = dir_.File("values.txt");
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "Value " + std::to_string(i) + "\n";
  ASSERT_TRUE(WriteFileAtomically(values, text));
  const std::string path = dir_.File("rtemp0.qvt");
  KillAtRandom(
      {"template", "write", path, "New scale", values},
      [&] { WriteResponseTemplate(path, {"Old scale", {"Low", "High"}}); },
      [&](int trial) {
        const TResponseTemplate kept = ReadResponseTemplate(path);
        if (kept.title == "Old scale") {
          EXPECT_EQ(kept.values, (std::vector<std::string>{"Low", "High"})) << trial;
        } else {
          EXPECT_EQ(kept.title, "New scale") << trial;
          ASSERT_EQ(kept.values.size(), 20000u) << trial;
          EXPECT_EQ(kept.values.back(), "Value 19999") << trial;
        }
        if (trial < 0) {
          EXPECT_EQ(kept.title, "New scale");
        }
      });
}

TEST_F(CrashTest, KilledIncorporationLosesAndRepeatsNothing) {
  const std::string reply = dir_.File("reply.txt");
  ASSERT_TRUE(WriteFileAtomically(reply, MakeReply()));
  // One undisturbed run tells how long the work takes.
  const std::string timed = dir_.File("timed/s.qvx");
  fs::create_directories(dir_.File("timed"));
  MakeSurvey(timed, 2);
  const auto start = Clock::now();
  RunAndKill(dir_.path(), {"incorporate", timed, reply}, {});
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  ASSERT_EQ(Held(timed).size(), static_cast<size_t>(kSubmissions));

  std::mt19937 random(20261209);
  int killed = 0;
  for (int trial = 0; trial < kTrials; ++trial) {
    const std::string folder = dir_.File("t" + std::to_string(trial));
    fs::create_directories(folder);
    const std::string survey = folder + "/s.qvx";
    MakeSurvey(survey, 2);
    const auto delay = std::chrono::microseconds(1 + random() % took.count());
    killed += RunAndKill(dir_.path(), {"incorporate", survey, reply}, delay) ? 1 : 0;
    // Whatever the crash left opens, holding no submission twice.
    for (const auto& [email, count] : Held(survey)) EXPECT_EQ(count, 1) << trial << " " << email;
    RunAndKill(dir_.path(), {"incorporate", survey, reply}, {});
    const auto held = Held(survey);
    EXPECT_EQ(held.size(), static_cast<size_t>(kSubmissions)) << trial;
    for (const auto& [email, count] : held) EXPECT_EQ(count, 1) << trial << " " << email;
  }
  EXPECT_GE(killed, kTrials / 2);
}

TEST_F(CrashTest, KilledSaveLeavesTheOldSurveyOrTheNew) {
  const std::string survey = dir_.File("big.qvx");
  MakeSurvey(survey, 1500);
  const std::string before = ReadWholeFile(survey).value();
  const auto start = Clock::now();
  RunAndKill(dir_.path(), {"save", survey, "--as", dir_.File("timed.qvx")}, {});
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  const std::string after = ReadWholeFile(dir_.File("timed.qvx")).value();

  std::mt19937 random(7);
  for (int trial = 0; trial < kTrials; ++trial) {
    const std::string out = dir_.File("out.qvx");
    ASSERT_TRUE(WriteFileAtomically(out, before));
    RunAndKill(dir_.path(), {"save", out, "--as", out},
               std::chrono::microseconds(1 + random() % took.count()));
    const std::string left = ReadWholeFile(out).value_or("");
    // A new file differs from the timed one only in the time of its save.
    EXPECT_TRUE(left == before || left.size() == after.size())
        << trial << ": " << left.size() << " bytes";
    TSurvey reloaded(settings_);
    reloaded.Load(out);
    EXPECT_EQ(reloaded.ItemCount(), 1500);
  }
}

}  // namespace
}  // namespace quorvant
