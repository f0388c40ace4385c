// TQVXQuestion ("Question Details"): the editor of one question, its text,
// style and the settings of the style, with the response-template menu.
//
// Created once at start-up and reused, so the fields a command does not
// reset keep their last values. The main window fills it before editing and
// reads Fields() after OK; nothing is validated at OK, but the range and
// step fields accept digits only and cannot be left blank.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/survey/editing_commands.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QStackedWidget;

namespace quorvant {
class Prompts;
class SettingsStore;
struct TQuestion;
}  // namespace quorvant

namespace quorvant::app {

class TQVXQuestion : public QDialog {
  Q_OBJECT

 public:
  TQVXQuestion(SettingsStore& settings, Prompts& prompts, std::string data_dir, QWidget* parent);

  // Before a new question: first page, Single Select, text and options
  // emptied, "Other" and "Answer required" cleared. Length, range and step keep their values.
  void Reset();
  // Before editing an existing question.
  void Fill(const TQuestion& item);
  // The question as the fields now describe it.
  ItemFields Fields() const;

  // The response templates of the data directory (bare names, sorted) and
  // the "Insert from Template" entries built from them.
  void RebuildTemplates();
  void SetDataDirectory(std::string data_dir);
  const std::vector<std::string>& TemplateFiles() const { return template_files_; }
  const std::string& DataDirectory() const { return data_dir_; }

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildResponsesPage();
  QWidget* BuildTextPage();
  QWidget* BuildNumericPage();
  QLineEdit* DigitField(const char* name, int digits);
  void StyleChanged(int index);
  void RangeEdited();
  void StepEdited();
  void ShowGroups(int groups);
  void InsertTemplate(int index);
  void SaveToTemplate();

  SettingsStore& settings_;
  Prompts& prompts_;
  std::string data_dir_;
  std::vector<std::string> template_files_;

  QPlainTextEdit* memQuestion_ = nullptr;
  QComboBox* cmbStyle_ = nullptr;
  QCheckBox* cbRequired_ = nullptr;
  QStackedWidget* nbPages_ = nullptr;
  QPlainTextEdit* memResponses_ = nullptr;
  QCheckBox* cbIncludeOther_ = nullptr;
  QMenu* miInsertFromTemplate_ = nullptr;
  QRadioButton* rbLimit_ = nullptr;
  QRadioButton* rbVerbose_ = nullptr;
  QLineEdit* eLength_ = nullptr;
  QLineEdit* eMinimum_ = nullptr;
  QLineEdit* eMaximum_ = nullptr;
  QLineEdit* eStep_ = nullptr;
  QLabel* lblGroups_ = nullptr;
};

}  // namespace quorvant::app
