// HttpClient: an asynchronous HTTP GET for talking to a collection server,
// reporting through signals on the thread that owns it (the user-interface
// thread in the application).
//
// Every request ends with exactly one of Succeeded() (a reply with a success
// status), Failed() (a reply with an error status) or ConnectionFailed() (no
// reply: refused, unknown host, timed out). Connected() and Status() may come
// before that. A request that gets no answer at all ends with
// ConnectionFailed() after the transfer timeout, so nothing waits forever.
//
// In file mode the reply body and the reply header lines are written to the
// two named files when the reply has arrived; otherwise Body() holds the body.
//
// Thread-safety: none; use it from the thread that created it.
#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkReply;

namespace quorvant {

class SettingsStore;

class HttpClient : public QObject {
  Q_OBJECT

 public:
  // The code Failed() carries for a failed GET.
  static constexpr int kGetFailed = 0;

  explicit HttpClient(QObject* parent = nullptr);

  // An empty host means no proxy.
  void SetProxy(const QString& host, int port);
  // When the "Preferences"/"UseProxy" setting is on, takes "ProxyAddress"
  // and "ProxyPort"; otherwise leaves the proxy as it is.
  void ApplyProxySettings(const SettingsStore& settings);
  // Empty names switch file mode off.
  void SetFileMode(const QString& body_file, const QString& header_file);
  void SetTimeoutMs(int ms) { timeout_ms_ = ms; }

  // Starts a GET and returns at once. A request still running is abandoned
  // without further signals.
  void Get(const QString& url);
  // Abandons the request that is running, without further signals; does
  // nothing when none is.
  void Abort();
  bool Busy() const { return !reply_.isNull(); }
  const QByteArray& Body() const { return body_; }
  int StatusCode() const { return status_code_; }

 signals:
  void Connected();
  void Status(const QString& text);
  void Succeeded();
  void Failed(int command_code);
  void ConnectionFailed();

 private:
  void OnMetaData();
  void OnFinished();
  bool WriteFiles(QNetworkReply* reply);

  QNetworkAccessManager manager_;
  QPointer<QNetworkReply> reply_;
  QString body_file_;
  QString header_file_;
  QByteArray body_;
  int status_code_ = 0;
  int timeout_ms_ = 120000;
  bool connected_ = false;
};

// Runs one GET to its end in a local event loop and returns how it ended.
enum class HttpOutcome { kSucceeded, kFailed, kConnectionFailed };
HttpOutcome GetAndWait(HttpClient& client, const QString& url);

}  // namespace quorvant
