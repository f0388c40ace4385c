// EmailListChanges: tells the e-mail list windows of this process that one
// of them changed a list file, so that the others showing the same file
// read it again instead of showing, and storing over, what they read
// before. Changes made by other programs are taken in when a window is
// activated.
//
// Thread-safety: user-interface thread only.
#pragma once

#include <QObject>
#include <QString>
#include <string>

namespace quorvant::app {

class EmailListChanges : public QObject {
  Q_OBJECT

 public:
  static EmailListChanges& Instance();

  // The name under which windows compare their files: the same for a
  // relative name, an absolute one or one through a link.
  static QString FileKey(const std::string& path);

  // Announces that source changed the list file at path.
  void Announce(const std::string& path, const QObject* source);

 signals:
  void Changed(const QString& file_key, const QObject* source);
};

}  // namespace quorvant::app
