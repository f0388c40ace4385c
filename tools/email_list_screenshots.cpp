// email_list_screenshots OUTDIR: pictures of the e-mail list manager
// (an empty list, a list of a few hundred people sorted by each column, a
// find) for a person to look at. Run it under xvfb-run.
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QThread>

#include "app/emaillists/email_list_dialogs.h"
#include "app/emaillists/email_list_window.h"
#include "app/shell/message_prompts.h"
#include "core/shell/settings_store.h"

namespace {

void Shoot(QWidget& window, const QString& path) {
  window.show();
  window.raise();
  for (int i = 0; i < 10; ++i) {
    QApplication::processEvents();
    QThread::msleep(20);
  }
  window.grab().save(path);
  std::printf("%s\n", qPrintable(path));
}

quorvant::EmailRecord Person(int i) {
  static const char* first[] = {"Anna", "Bernd", "Chloé", "David", "Eva", "Farid", "Grace"};
  static const char* last[] = {"Nakamura", "O'Neill", "Petrović", "Quinn", "Rossi", "Smith, Jr."};
  const std::string f = first[i % 7], l = last[(i / 7) % 6];
  return {f, l, f + "." + std::to_string(i) + "@example.org"};
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: email_list_screenshots OUTDIR\n");
    return 2;
  }
  const QString out = argv[1];
  QDir().mkpath(out);
  quorvant::SettingsStore settings;
  quorvant::app::MessageBoxPrompts prompts;
  quorvant::app::StandardEmailListDialogs dialogs;
  const std::string dir = QDir(out).absolutePath().toStdString() + "/";

  auto* empty = new quorvant::app::TQVXEList(settings, prompts, dialogs, dir);
  empty->CreateList(dir + "empty.eml");
  Shoot(*empty, out + "/email_list_empty.png");
  empty->close();

  auto* window = new quorvant::app::TQVXEList(settings, prompts, dialogs, dir);
  window->CreateList(dir + "people.eml");
  std::vector<quorvant::EmailRecord> people;
  for (int i = 0; i < 300; ++i) people.push_back(Person(i));
  window->List().AppendAll(people);
  window->OpenList(dir + "people.eml");
  auto* grid = window->findChild<QTableView*>("dbgEMail");
  const char* names[] = {"first", "last", "email"};
  for (int column : {0, 2, 1}) {
    grid->horizontalHeader()->sectionClicked(column);
    Shoot(*window, out + "/email_list_sorted_" + names[column] + ".png");
  }
  auto* find = window->findChild<QLineEdit*>("eFind");
  find->setText("Ross");
  QTest::keyClick(find, Qt::Key_Return);
  Shoot(*window, out + "/email_list_found.png");
  find->setText("Zz");
  QTest::keyClick(find, Qt::Key_Return);
  Shoot(*window, out + "/email_list_not_found.png");
  window->close();
  return 0;
}
