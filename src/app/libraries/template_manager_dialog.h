// TQVXTemplateMgr ("Template Manager"): lists, creates, edits and deletes
// the response templates and display templates of the data directory. The
// work is done by TemplateManager; the window shows its lists and contents
// and forwards every change. Edits are written back when the template is
// left and when the window closes, by "&Close", Esc or its close box.
#pragma once

#include <QDialog>
#include <string>

#include "core/libraries/template_manager.h"

class QComboBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace quorvant {
class Prompts;
}

namespace quorvant::app {

class WindowDialogs;

class TQVXTemplateMgr : public QDialog {
  Q_OBJECT

 public:
  TQVXTemplateMgr(Prompts& prompts, WindowDialogs& dialogs, std::string data_dir, QWidget* parent);

  const TemplateManager& Manager() const { return manager_; }
  void done(int result) override;

 private:
  void ShowManager();
  void ChooseType(int type);
  void ChooseTemplate(int row);
  void CreateTemplate();
  void DeleteTemplate();

  WindowDialogs& dialogs_;
  std::string data_dir_;
  TemplateManager manager_;

  QComboBox* cmbType_ = nullptr;
  QListWidget* lbTemplates_ = nullptr;
  QPushButton* btnNewTemplate_ = nullptr;
  QPushButton* btnDeleteTemplate_ = nullptr;
  QPlainTextEdit* memContents_ = nullptr;
};

}  // namespace quorvant::app
