#include "app/transfer/local_mail.h"

#include <unistd.h>

#include <QProcess>
#include <QString>
#include <cstdlib>

#include "core/publishing/mail_compose.h"

namespace quorvant {
namespace {

std::string DefaultProgram() {
  if (const char* chosen = std::getenv("QUORVANT_SENDMAIL"); chosen && *chosen) return chosen;
  for (const char* path : {"/usr/sbin/sendmail", "/usr/lib/sendmail"})
    if (access(path, X_OK) == 0) return path;
  return "/usr/sbin/sendmail";
}

}  // namespace

LocalMail::LocalMail(std::string program, std::string x_mailer)
    : program_(program.empty() ? DefaultProgram() : std::move(program)),
      x_mailer_(std::move(x_mailer)) {}

bool LocalMail::Available() { return access(program_.c_str(), X_OK) == 0; }

SendOutcome LocalMail::Send(const MailMessage& message) {
  std::string text = ComposeMessageText(message, x_mailer_);
  QProcess process;
  process.start(QString::fromStdString(program_), {"-t", "-i"});
  if (!process.waitForStarted(30000))
    throw EMailTransportError("The local mail system " + program_ + " could not be started.");
  process.write(text.data(), static_cast<qint64>(text.size()));
  process.closeWriteChannel();
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished(5000);
    throw EMailTransportError("The local mail system " + program_ + " did not finish.");
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    std::string why = process.readAllStandardError().trimmed().toStdString();
    throw EMailTransportError("The local mail system " + program_ + " refused the message" +
                              (why.empty() ? std::string(".") : ": " + why));
  }
  return SendOutcome::kSent;
}

}  // namespace quorvant
