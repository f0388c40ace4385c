// import_bench: `quorvant-cli import` of a 2,000-question text file, each run
// a fresh process, side by side with a plain read of the same file by
// `cat` started the same way in the same run; and, inside one process, the
// import itself against reading the file and splitting it into lines.
// Target: the command within 5x the plain read, and well under a second.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/libraries/question_import.h"
#include "core/libraries/response_template.h"
#include "core/shell/atomic_file.h"
#include "core/shell/quiet_prompts.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"

extern char** environ;

namespace {

using namespace quorvant;
using Clock = std::chrono::steady_clock;

constexpr int kQuestions = 2000;
constexpr int kRounds = 31;

// Questions with five option lines, every third one naming a template
// instead, and a header every 25 questions.
std::string ImportText() {
  std::string text;
  for (int i = 0; i < kQuestions; ++i) {
    if (i % 25 == 0) text += "H) Part " + std::to_string(i / 25 + 1) + "\r\n";
    text += "Question number " + std::to_string(i) +
            ": how do you rate this part of our service overall?\r\n";
    if (i % 3 == 0) {
      text += "  -Agree\r\n";
      continue;
    }
    for (int o = 0; o < 5; ++o) {
      text += "  Option " + std::to_string(o) + " of question " + std::to_string(i) + "\r\n";
    }
  }
  return text;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

template <typename Fn>
double MedianSeconds(Fn fn) {
  std::vector<double> times;
  for (int r = 0; r < kRounds; ++r) {
    const auto start = Clock::now();
    fn();
    times.push_back(Seconds(Clock::now() - start));
  }
  std::nth_element(times.begin(), times.begin() + kRounds / 2, times.end());
  return times[kRounds / 2];
}

// Runs the program with its standard output into out; its exit status.
int Spawn(const std::vector<std::string>& argv, const std::string& out) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  std::string dir = (fs::temp_directory_path() / "import-bench-XXXXXX").string();
  if (::mkdtemp(dir.data()) == nullptr) return 1;
  const std::string data_dir = dir + "/data/";
  fs::create_directory(data_dir);
  CreateDefaultResponseTemplates(data_dir);
  const std::string text_file = dir + "/questions.txt";
  const std::string text = ImportText();
  if (!WriteFileAtomically(text_file, text)) return 1;
  ::setenv("QUORVANT_CONFIG_DIR", (dir + "/config").c_str(), 1);

  const std::string out = dir + "/imported.qvx";
  const std::vector<std::string> import = {QUORVANT_CLI_PATH, "import", text_file,    out,
                                           "--style",         "1",      "--data-dir", data_dir};
  if (Spawn(import, dir + "/stdout") != 0) {
    std::fprintf(stderr, "import_bench: quorvant-cli import failed\n");
    return 1;
  }
  SettingsStore settings(dir + "/settings.ini");
  TSurvey check(settings);
  check.Load(out);
  // Each run makes a new survey file, as an import usually does (a save
  // over an existing file first reads it, to keep its unrelated lines).
  const double command = MedianSeconds([&] {
    fs::remove(out);
    Spawn(import, dir + "/stdout");
  });
  const double start_only = MedianSeconds([&] {
    Spawn({QUORVANT_CLI_PATH, "--version"}, dir + "/stdout");
  });
  const std::vector<std::string> cat = {"/bin/cat", text_file};
  const double plain_read = MedianSeconds([&] { Spawn(cat, dir + "/copy.txt"); });

  QuietPrompts prompts;
  const double walk = MedianSeconds([&] {
    TSurvey survey(settings);
    ImportQuestionFile(survey, text_file, 1, data_dir, prompts);
  });
  const double save = MedianSeconds([&] {
    fs::remove(dir + "/saved.qvx");
    check.SaveAs(dir + "/saved.qvx", WriteDurability::kKeepOld);
  });
  size_t lines = 0;
  const double split = MedianSeconds([&] {
    std::ifstream in(text_file, std::ios::binary);
    std::vector<std::string> read;
    for (std::string line; std::getline(in, line);) read.push_back(line);
    lines = read.size();
  });
  fs::remove_all(dir);

  std::printf("import of %d questions (%zu lines, %zu bytes) into %d items\n", kQuestions, lines,
              text.size(), check.ItemCount());
  std::printf("quorvant-cli import (process)   %8.2f ms\n", command * 1000);
  std::printf("cat of the file (process)       %8.2f ms\n", plain_read * 1000);
  std::printf("ratio                           %8.2f (target <= 5)\n", command / plain_read);
  std::printf("parts of the command, for reference:\n");
  std::printf("  quorvant-cli --version         %8.2f ms\n", start_only * 1000);
  std::printf("  saving the new survey          %8.2f ms\n", save * 1000);
  std::printf("  ImportQuestionFile             %8.2f ms\n", walk * 1000);
  std::printf("  getline read of the file       %8.2f ms\n", split * 1000);
  std::printf("  ratio of these two             %8.2f\n", walk / split);
  return 0;
}
