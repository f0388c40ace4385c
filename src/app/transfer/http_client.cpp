#include "app/transfer/http_client.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"

namespace quorvant {

HttpClient::HttpClient(QObject* parent) : QObject(parent) {}

void HttpClient::SetProxy(const QString& host, int port) {
  if (host.isEmpty()) {
    manager_.setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
  } else {
    manager_.setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, host, static_cast<quint16>(port)));
  }
}

void HttpClient::ApplyProxySettings(const SettingsStore& settings) {
  if (!settings.Read(settings::kUseProxy)) return;
  SetProxy(QString::fromStdString(settings.Read(settings::kProxyAddress)),
           settings.Read(settings::kProxyPort));
}

void HttpClient::SetFileMode(const QString& body_file, const QString& header_file) {
  body_file_ = body_file;
  header_file_ = header_file;
}

void HttpClient::Abort() {
  if (!reply_) return;
  reply_->disconnect(this);
  reply_->abort();
  reply_->deleteLater();
  reply_.clear();
}

void HttpClient::Get(const QString& url) {
  Abort();
  body_.clear();
  status_code_ = 0;
  connected_ = false;
  QNetworkRequest request{QUrl(url)};
  request.setTransferTimeout(timeout_ms_);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  reply_ = manager_.get(request);
  connect(reply_, &QNetworkReply::metaDataChanged, this, &HttpClient::OnMetaData);
  connect(reply_, &QNetworkReply::finished, this, &HttpClient::OnFinished);
}

void HttpClient::OnMetaData() {
  if (connected_ || !reply_) return;
  if (!reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) return;
  connected_ = true;
  emit Connected();
  emit Status(QStringLiteral("Receiving reply"));
}

bool HttpClient::WriteFiles(QNetworkReply* reply) {
  if (body_file_.isEmpty()) return true;
  QFile body(body_file_);
  if (!body.open(QIODevice::WriteOnly | QIODevice::Truncate) || body.write(body_) != body_.size()) {
    return false;
  }
  QFile header(header_file_);
  if (!header_file_.isEmpty()) {
    if (!header.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    for (const auto& [name, value] : reply->rawHeaderPairs()) {
      header.write(name + ": " + value + "\r\n");
    }
  }
  return true;
}

void HttpClient::OnFinished() {
  QNetworkReply* reply = reply_;
  if (reply == nullptr) return;
  reply_ = nullptr;
  reply->deleteLater();
  const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (!status.isValid()) {
    emit ConnectionFailed();
    return;
  }
  status_code_ = status.toInt();
  if (!connected_) {
    connected_ = true;
    emit Connected();
  }
  body_ = reply->readAll();
  if (status_code_ >= 400 || !WriteFiles(reply)) {
    emit Failed(kGetFailed);
    return;
  }
  emit Succeeded();
}

HttpOutcome GetAndWait(HttpClient& client, const QString& url) {
  QEventLoop loop;
  HttpOutcome outcome = HttpOutcome::kConnectionFailed;
  auto end = [&](HttpOutcome o) {
    outcome = o;
    loop.quit();
  };
  const auto a = QObject::connect(&client, &HttpClient::Succeeded, &loop,
                                  [&] { end(HttpOutcome::kSucceeded); });
  const auto b = QObject::connect(&client, &HttpClient::Failed, &loop,
                                  [&](int) { end(HttpOutcome::kFailed); });
  const auto c = QObject::connect(&client, &HttpClient::ConnectionFailed, &loop,
                                  [&] { end(HttpOutcome::kConnectionFailed); });
  client.Get(url);
  loop.exec();
  QObject::disconnect(a);
  QObject::disconnect(b);
  QObject::disconnect(c);
  return outcome;
}

}  // namespace quorvant
