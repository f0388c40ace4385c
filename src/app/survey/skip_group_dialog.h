// TQVXSkipGroup ("Skip Group"): shows the questions that will be skipped and
// the head question, and asks for the response that skips them. "&OK" is
// enabled only while a response is chosen.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QListWidget;
class QPushButton;

namespace quorvant::app {

class TQVXSkipGroup : public QDialog {
  Q_OBJECT

 public:
  // members: the list lines of the questions to skip; head: the head's list
  // line; responses: the head's option lines, whole.
  TQVXSkipGroup(const QStringList& members, const QString& head, const QStringList& responses,
                QWidget* parent);

  // The chosen response's index, -1 when none is chosen.
  int Response() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void UpdateOk();

  QListWidget* lbQuestions_ = nullptr;
  QComboBox* cmbResponse_ = nullptr;
  QPushButton* btnOK_ = nullptr;
};

}  // namespace quorvant::app
