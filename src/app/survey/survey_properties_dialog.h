// TQVXProperties ("Survey Properties"): the settings of the open survey on
// five pages (details, web server, notifications, history, security), with
// "Ma&ke Default" to store them as the defaults of new surveys.
//
// Created for one use. The survey changes only at OK, which writes every
// field through the survey's setters (core/survey/survey_properties.h), and
// through "&Preview", which records the page it generates. Remembers its
// position under "Property Window".
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/survey/survey_properties.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;
class QTabWidget;

namespace quorvant {
class Prompts;
class SettingsStore;
class TSurvey;
}  // namespace quorvant

namespace quorvant::app {

class WindowDialogs;

class TQVXProperties : public QDialog {
  Q_OBJECT

 public:
  // `keep_temp_file` receives every preview file, for deletion at shutdown.
  TQVXProperties(TSurvey& survey, SettingsStore& settings, Prompts& prompts, WindowDialogs& dialogs,
                 std::string data_dir, std::function<void(const std::string&)> keep_temp_file,
                 QWidget* parent);

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // survey_properties_pages.cpp
  QWidget* BuildDetailsPage();
  QWidget* BuildWebServerPage();
  QWidget* BuildNotificationsPage();
  QWidget* BuildHistoryPage();
  QWidget* BuildSecurityPage();
  // survey_properties_dialog.cpp
  void Fill(const SurveyProperties& p);
  SurveyProperties Collect() const;
  void UpdateSampling();
  void UpdateSecurity();
  void LimitByIPClicked();
  void AddAddress();
  void DeleteAddress();
  void SelectFile();
  void OpenEmailListManager();
  void Preview();

  TSurvey& survey_;
  SettingsStore& settings_;
  Prompts& prompts_;
  WindowDialogs& dialogs_;
  std::string data_dir_;
  std::function<void(const std::string&)> keep_temp_file_;

  QTabWidget* pgcProperties_ = nullptr;
  QLineEdit* eName_ = nullptr;
  QLineEdit* eAuthor_ = nullptr;
  QLineEdit* ePassword_ = nullptr;
  QPlainTextEdit* memInstructions_ = nullptr;
  QPlainTextEdit* memFinalComments_ = nullptr;
  QListWidget* lbDisplayTemplate_ = nullptr;
  QComboBox* cmbServerType_ = nullptr;
  QStackedWidget* nbServerType_ = nullptr;
  QLineEdit* eServerURL_ = nullptr;
  QLineEdit* eAccountID_ = nullptr;
  QLineEdit* eResultURL_ = nullptr;
  QCheckBox* cbCheckAnswers_ = nullptr;
  QLineEdit* eNotificationFile_ = nullptr;
  QRadioButton* rbAllAddresses_ = nullptr;
  QRadioButton* rbRandomSampling_ = nullptr;
  QSlider* tbSampling_ = nullptr;
  QLabel* lblSampling_ = nullptr;
  QPlainTextEdit* memNotifyMessage_ = nullptr;
  QCheckBox* cbAttachSurvey_ = nullptr;
  QPlainTextEdit* memHistory_ = nullptr;
  QCheckBox* cbOnly1Email_ = nullptr;
  QCheckBox* cbOnly1IP_ = nullptr;
  QCheckBox* cbLimitByIP_ = nullptr;
  QListWidget* lbIPAddresses_ = nullptr;
  QLineEdit* eIPAddress_ = nullptr;
  QPushButton* btnAddIP_ = nullptr;
  QPushButton* btnDeleteIP_ = nullptr;
  QCheckBox* cbMakeDefault_ = nullptr;
};

}  // namespace quorvant::app
