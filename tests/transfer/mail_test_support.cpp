#include "mail_test_support.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>

namespace quorvant::testing {

SmtpSink::SmtpSink(const std::string& out_file, const QStringList& extra) : out_file_(out_file) {
  QStringList args{QString(QUORVANT_SOURCE_DIR) + "/tests/transfer/smtp_sink.py",
                   QString::fromStdString(out_file)};
  process_.start("/usr/bin/python3", args + extra);
  process_.setReadChannel(QProcess::StandardOutput);
  if (!process_.waitForStarted(10000) || !process_.waitForReadyRead(20000)) {
    ADD_FAILURE() << "the SMTP sink did not start: " << process_.readAllStandardError().data();
    return;
  }
  port_ = process_.readLine().trimmed().toInt();
}

SmtpSink::~SmtpSink() {
  process_.closeWriteChannel();
  if (!process_.waitForFinished(10000)) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

std::vector<QJsonObject> SmtpSink::Messages() const {
  std::vector<QJsonObject> out;
  QFile file(QString::fromStdString(out_file_));
  if (!file.open(QIODevice::ReadOnly)) return out;
  for (const QByteArray& line : file.readAll().split('\n'))
    if (!line.isEmpty()) out.push_back(QJsonDocument::fromJson(line).object());
  return out;
}

void MakeCertificate(const std::string& cert, const std::string& key) {
  QProcess openssl;
  openssl.start("openssl",
                {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj",
                 "/CN=localhost", "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1", "-keyout",
                 QString::fromStdString(key), "-out", QString::fromStdString(cert)});
  ASSERT_TRUE(openssl.waitForFinished(60000));
  ASSERT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().data();
}

std::string Base64Decoded(const QJsonValue& value) {
  return QByteArray::fromBase64(value.toString().toLatin1()).toStdString();
}

}  // namespace quorvant::testing
