// TQVXMainForm: rebuilding the question lists and refreshing captions,
// status panels and the enabled state of every command.
#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

#include "app/analysis/analysis_list_model.h"
#include "app/analysis/analysis_view.h"
#include "app/analysis/cross_tab_window.h"
#include "app/shell/main_form.h"
#include "app/survey/question_list_view.h"
#include "core/shell/date_time.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TQVXMainForm::RebuildQuestionList() {
  const QuestionListing& listing = question_model_->Rebuild(document_.Survey());
  {
    const QSignalBlocker block(cmbQuestionList_);
    analysis_model_->Rebuild(listing);
  }
  // The list's new lines may stand for other items: show the chosen one.
  ShowChosenQuestion();
}

std::vector<int> TQVXMainForm::SelectedLines() const {
  std::vector<int> lines;
  for (const QModelIndex& index : lbQuestions_->selectionModel()->selectedRows()) {
    lines.push_back(index.row());
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

void TQVXMainForm::SelectLines(const std::vector<int>& lines) {
  QItemSelectionModel* selection = lbQuestions_->selectionModel();
  const QSignalBlocker block(selection);
  QItemSelection chosen;
  for (int line : lines) {
    const QModelIndex index = question_model_->index(line, 0);
    if (index.isValid()) chosen.select(index, index);
  }
  selection->select(chosen, QItemSelectionModel::ClearAndSelect);
  if (!lines.empty()) {
    const QModelIndex focus = question_model_->index(lines.front(), 0);
    selection->setCurrentIndex(focus, QItemSelectionModel::NoUpdate);
    lbQuestions_->scrollTo(focus);
  }
  lbQuestions_->viewport()->update();
}

void TQVXMainForm::ApplyCommandStates(const CommandStates& s) {
  const auto enable = [this](std::initializer_list<const char*> names, bool on) {
    for (const char* name : names) actions_.Get(name)->setEnabled(on);
  };
  btnEditItem_->setEnabled(s.edit_item);
  enable({"miEditItem"}, s.edit_item);
  enable({"miEditCut", "miEditCopy", "tbCut", "tbCopy"}, s.cut_copy);
  enable({"miEditPaste", "tbPaste"}, s.paste);
  btnDeleteItems_->setEnabled(s.delete_items);
  enable({"miDeleteItem"}, s.delete_items);
  miApplyTemplate_->setEnabled(s.delete_items);
  miAddToLibrary_->setEnabled(s.add_to_library);
  btnMoveUp_->setEnabled(s.move_up);
  btnMoveDown_->setEnabled(s.move_down);
  btnSkipGroup_->setEnabled(s.skip_group != SkipGroupOffer::kDisabled);
  if (s.skip_group != SkipGroupOffer::kDisabled) {
    btnSkipGroup_->setMenu(s.skip_group == SkipGroupOffer::kUngroup ? pmUngroup_
                                                                    : pmCreateSkipGroup_);
  }
  enable({"miSurveyPublish", "tbPublishSurvey"}, s.publish);
  btnPreview_->setEnabled(s.publish);
  btnUpdateNow_->setEnabled(s.analysis_tools);
  btnChartToolbox_->setEnabled(s.analysis_tools && analysis_view_->GraphShown());
  btnExportChart_->setEnabled(s.analysis_tools);
  btnSetFilter_->setEnabled(s.analysis_tools);
  enable({"miFileExport"}, s.export_responses);
  enable({"miSurveyResetResponses", "miSurveyClearResults"}, s.reset_responses);
  enable({"miFileSave", "tbSave"}, s.save);
  enable({"miFilePrint", "tbPrint"}, s.print);
}

void TQVXMainForm::RefreshReopenMenu() {
  miFileReopen_->clear();
  for (const ReopenEntry& entry : document_.Recent().ReopenEntries(document_.LastDirectory())) {
    QAction* action = miFileReopen_->addAction(Q(entry.caption));
    action->setData(entry.index);
    const int index = entry.index;
    connect(action, &QAction::triggered, this, [this, index] { FileReopen(index); });
  }
  miFileReopen_->setEnabled(!miFileReopen_->isEmpty());
}

void TQVXMainForm::RefreshResultStatus() {
  const bool never = document_.Survey().SRServerUpdate() == NeverTime();
  lblLastUpdated_->setText(never ? "Last Updated: Never"
                                 : "Last Updated: " +
                                       Q(FormatShortStamp(document_.Survey().SRServerUpdate())));
  lblNotifications_->setText("Notifications: " + Q(document_.Survey().EMailStatus()));
  lblResponsesReceived_->setText("Responses Received: " +
                                 QString::number(document_.Survey().SRResponseCount()));
}

void TQVXMainForm::RefreshMainWindow() {
  pnlModified_->setText(document_.Survey().Modified() ? " Modified " : "");

  WindowState state;
  state.selected = SelectedLines();
  state.clipboard_count = clipboard_.ItemCount();
  state.analysis_page = pgcMain_->currentWidget() == tsAnalysis_;
  state.has_library = !library_files_.empty();
  state.response_table_open = response_table_.IsOpen();
  ApplyCommandStates(ComputeCommandStates(document_.Survey(), state));

  RefreshReopenMenu();
  RefreshResultStatus();

  actions_.Get("miFilePrint")
      ->setText(state.analysis_page ? "&Print Analysis..." : "&Print Questions...");
  actions_.Get("tbPrint")->setText(state.analysis_page ? "Print Analysis" : "Print Questions");

  pnlFileName_->setText(document_.Survey().HasFile()
                            ? Q(ShortPath(document_.Survey().FileName(), document_.LastDirectory()))
                            : "");

  if (cmbQuestionList_->count() > 0 && cmbQuestionList_->currentIndex() < 0) {
    cmbQuestionList_->setCurrentIndex(0);
  } else if (cmbQuestionList_->count() == 0) {
    analysis_view_->ClearChart();
  }
  const QString filter = Q(document_.Survey().ActiveFilter().FilterExpression());
  pnlFilter_->setText(filter.isEmpty() ? QString() : "Filter: " + filter);
  lblFilter_->setText(filter.isEmpty() ? "Filter: None" : "Filter: " + filter);

  setWindowTitle("Quorvant - " + Q(document_.Survey().Name()));
  // An open cross tabulation follows the questions, the filter and the responses.
  if (cross_tab_ && cross_tab_->isVisible()) cross_tab_->Refresh();
}

}  // namespace quorvant::app
