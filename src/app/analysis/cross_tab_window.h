// TQVXCrossTab: the "Cross Tabulation" window of the Analysis page. It
// counts the answers to one question (the rows) against those to another
// (the columns) over the records of the analysis filter, shows the table
// with the percentages switched on, and under it the records left out, the
// chi-square test and its notes. "Cop&y" puts the table on the clipboard as
// text and as HTML; the printed analysis ends with the table shown here.
//
// The window stays open beside the main window. It counts anew when a
// question is chosen and when Refresh() finds that the survey's questions,
// its filter or its responses changed.
//
// Ownership: reads the survey and the response table it is given, which
// must outlive it. Thread-safety: none.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "core/analysis/chi_square.h"
#include "core/analysis/cross_table.h"
#include "core/analysis/cross_table_text.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace quorvant {
class TResponseTable;
class TSurvey;
}  // namespace quorvant

namespace quorvant::app {

class TQVXCrossTab : public QDialog {
  Q_OBJECT

 public:
  TQVXCrossTab(TSurvey& survey, TResponseTable& table, QWidget* parent);

  // Fills the question lists again (keeping the chosen questions while the
  // survey has them) and counts again when anything counted has changed.
  void Refresh();
  // The table shown, with its test; nothing before two questions are chosen.
  const std::optional<CrossTable>& Shown() const { return shown_; }
  const IndependenceTest& Test() const { return test_; }
  CrossPercents Percents() const;
  // The clipboard's contents: text and HTML.
  std::string ShownText() const;
  std::string ShownHtml() const;
  void CopyToClipboard();

 private:
  void FillLists();
  void Count();
  void ShowTable();
  // What the counts depend on, to tell whether Refresh() must count.
  std::string CountKey() const;

  TSurvey& survey_;
  TResponseTable& table_;
  QComboBox* cmbRows_ = nullptr;
  QComboBox* cmbColumns_ = nullptr;
  QCheckBox* chkRowPercent_ = nullptr;
  QCheckBox* chkColumnPercent_ = nullptr;
  QCheckBox* chkTotalPercent_ = nullptr;
  QTableWidget* grdCrossTable_ = nullptr;
  QLabel* lblCrossNotes_ = nullptr;
  std::optional<CrossTable> shown_;
  IndependenceTest test_;
  std::string counted_key_;
};

}  // namespace quorvant::app
