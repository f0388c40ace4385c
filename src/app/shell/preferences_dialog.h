// TQVXPrefs ("Preferences"): the program-wide settings on three pages,
// "General" (data directory, re-opening the last file, the warnings),
// "Email" (the mail system and its server or gateway) and "Advanced" (proxy,
// default web page extension).
//
// Created for one use. OK checks the two port fields, then writes every
// value in one go (core/shell/preferences.h); Cancel writes nothing. The
// data directory is handed back through DataDirectory() for the main window,
// which stores it at shutdown. Remembers its position under "Preferences
// Window".
#pragma once

#include <QDialog>
#include <string>

#include "core/shell/preferences.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTabWidget;

namespace quorvant {
class Prompts;
class SettingsStore;
}  // namespace quorvant

namespace quorvant::app {

class TQVXSelDir;

class TQVXPrefs : public QDialog {
  Q_OBJECT

 public:
  TQVXPrefs(SettingsStore& settings, Prompts& prompts, TQVXSelDir& chooser,
            const std::string& data_dir, QWidget* parent);

  // After OK: the chosen data directory, ending in "/".
  const std::string& DataDirectory() const { return data_dir_; }

  void done(int result) override;

 private:
  QWidget* BuildGeneralPage();
  QWidget* BuildEmailPage();
  QWidget* BuildAdvancedPage();
  void Fill(const Preferences& p);
  // False, after saying why, when a port field holds no port number.
  bool Collect(Preferences& p);
  bool ReadPort(QLineEdit* field, const char* what, int& port);
  void UpdateProxy();
  void BrowseDirectory();

  SettingsStore& settings_;
  Prompts& prompts_;
  TQVXSelDir& chooser_;
  std::string data_dir_;

  QTabWidget* pgcPrefs_ = nullptr;
  QLineEdit* eDataDirectory_ = nullptr;
  QCheckBox* cbAutoReopen_ = nullptr;
  QCheckBox* cbWarn_[kWarningCount] = {};
  QComboBox* cmbEmailSystem_ = nullptr;
  QStackedWidget* nbEmail_ = nullptr;
  QLineEdit* eDisplayName_ = nullptr;
  QLineEdit* eReplyAddress_ = nullptr;
  QLineEdit* eSMTPServer_ = nullptr;
  QLineEdit* eOutgoingPort_ = nullptr;
  QLineEdit* eSMTPUserID_ = nullptr;
  QLineEdit* ePassword_ = nullptr;
  std::string loaded_password_;  // as the keyring gave it when the dialog was filled
  QLineEdit* eGatewayText_ = nullptr;
  QCheckBox* cbUseProxy_ = nullptr;
  QLabel* lblProxyAddress_ = nullptr;
  QLineEdit* eProxyAddress_ = nullptr;
  QLabel* lblProxyPort_ = nullptr;
  QLineEdit* eProxyPort_ = nullptr;
  QComboBox* cmbDefaultHTML_ = nullptr;
};

}  // namespace quorvant::app
