// quorvant-cli mail: the publish dialog's step four, with the Email page's
// preferences, printing the run's status lines; --reminder mails only those
// of the list who have not answered.
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>

#include "app/transfer/mail_transports.h"
#include "cli/commands.h"
#include "cli/console_prompts.h"
#include "cli/desktop_commands.h"
#include "cli/option_arguments.h"
#include "core/publishing/mail_compose.h"
#include "core/publishing/mailing_run.h"
#include "core/shell/preferences.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey_document.h"

namespace quorvant::cli {
namespace {

// Prints the status lines; nobody can press Stop.
class ConsoleView : public MailingView {
 public:
  void SetProgressMax(int) override {}
  void SetProgress(int) override {}
  void SetStatus(const std::string& text) override { std::printf("%s\n", text.c_str()); }
  void ProcessEvents() override {}
  bool StopRequested() const override { return false; }
};

// --dry-run: every message printed instead of sent.
class PrintingTransport : public MailTransport {
 public:
  void Connect() override {}
  SendOutcome Send(const MailMessage& message) override {
    MailMessage shown = message;
    shown.attachment_path.clear();
    std::printf("--- message %d to %s\n", ++count_, message.recipient.c_str());
    std::fputs(ComposeMessageText(shown, "Quorvant").c_str(), stdout);
    if (!message.attachment_path.empty())
      std::printf("[attachment %s]\n", message.attachment_path.c_str());
    return SendOutcome::kSent;
  }
  void Disconnect() override {}

 private:
  int count_ = 0;
};

// The terminal's settings while echo is off, put back by a signal that
// ends the program meanwhile, so the shell is not left without echo.
termios saved_terminal;
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void RestoreTerminalAndEnd(int signal_number) {
  tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

// One line of standard input; on a terminal it is not echoed, so a
// password does not show as it is typed. Piped input is read as it stands.
std::string ReadSecretLine() {
  const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved_terminal) == 0;
  struct sigaction previous[std::size(kEndingSignals)];
  if (terminal) {
    struct sigaction restore {};
    restore.sa_handler = RestoreTerminalAndEnd;
    sigemptyset(&restore.sa_mask);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i)
      sigaction(kEndingSignals[i], &restore, &previous[i]);
    termios quiet = saved_terminal;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;  // the Enter still moves to the next line
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string line;
  std::getline(std::cin, line);
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i)
      sigaction(kEndingSignals[i], &previous[i], nullptr);
  }
  if (line.ends_with('\r')) line.pop_back();
  return line;
}

// The SMTP password asked on the terminal; nobody there can cancel.
std::optional<std::string> AskOnTerminal(const std::string& question) {
  std::fprintf(stderr, "%s ", question.c_str());
  std::fflush(stderr);
  return ReadSecretLine();
}

constexpr char kUsage[] = "usage: quorvant-cli mail SURVEY.qvx [--reminder] [--dry-run] [--again]";

}  // namespace

int RunMail(const Args& args) {
  const auto parsed =
      ParseArguments(args, {.options = {{.name = "--dry-run", .kind = OptionKind::kFlag},
                                        {.name = "--again", .kind = OptionKind::kFlag},
                                        {.name = "--reminder", .kind = OptionKind::kFlag}},
                            .least_positional = 1,
                            .most_positional = 1,
                            .positional_may_be_empty = false,
                            .usage = kUsage});
  if (!parsed) return 2;
  const bool dry_run = parsed->Has("--dry-run");
  MailingOptions options;
  options.mail_again = parsed->Has("--again");
  options.reminders = parsed->Has("--reminder");
  const std::string& path = parsed->positional[0];
  SettingsStore settings;
  ConsolePrompts prompts;
  SurveyDocument document(settings, prompts);
  TSurvey& survey = document.Survey();
  if (!LoadSurvey(path, survey)) return 1;
  Preferences prefs = ReadPreferences(settings);
  ConsoleView view;
  std::unique_ptr<MailTransport> transport;
  if (dry_run) {
    options.mail_again = true;  // nothing goes out, so nothing is sent twice
    transport = std::make_unique<PrintingTransport>();
  } else {
    transport = MakeMailRunTransport(prefs, AskOnTerminal);
  }
  MailingResult result = RunMailing(survey, prefs, *transport, view, prompts, options);
  if (result.end == MailingEnd::kDeclined) {
    std::fprintf(stderr, options.reminders
                             ? "Nothing was sent; give --again to send the reminders.\n"
                             : "Nothing was sent; give --again to mail the list once more.\n");
  }
  if (!dry_run && survey.Modified() && !document.Save()) return 1;
  // Nobody left to remind is no failure: every one of them has answered.
  return result.end == MailingEnd::kCompleted || result.end == MailingEnd::kNobodyLeft ? 0 : 1;
}

}  // namespace quorvant::cli
