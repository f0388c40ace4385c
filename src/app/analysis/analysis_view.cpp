#include "app/analysis/analysis_view.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "app/analysis/memo_panel_grid.h"
#include "app/analysis/response_column_model.h"
#include "app/analysis/results_summary.h"
#include "app/chart/chart_view.h"
#include "app/shell/whats_this.h"
#include "core/analysis/answer_view_filter.h"
#include "core/analysis/question_view_texts.h"
#include "core/analysis/result_counting.h"
#include "core/responses/response_table.h"
#include "core/survey/survey.h"

namespace quorvant::app {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TAnalysisView::TAnalysisView(TSurvey& survey, TResponseTable& table, QWidget* parent)
    : QStackedWidget(parent), survey_(survey), table_(table), average_text_(AverageText(0)) {
  setObjectName("nbResults");
  graph_ = BuildGraphPage();
  addWidget(graph_);
  setCurrentWidget(graph_);
}

QWidget* TAnalysisView::BuildGraphPage() {
  auto* page = new QSplitter(Qt::Vertical, this);
  page->setObjectName("Graph");
  chart_ = new ChartView(page);
  chart_->setObjectName("chtResults");
  // The first-run window of 600 x 450 must hold the page.
  chart_->setMinimumSize(160, 100);
  summary_ = new ResultsSummary(page);
  summary_->setObjectName("pnlSummary");
  page->addWidget(chart_);
  page->addWidget(summary_);
  page->setStretchFactor(0, 3);
  page->setStretchFactor(1, 1);
  // On a small window the numbers give way to the chart.
  page->setCollapsible(0, false);
  connect(chart_, &ChartView::PointClicked, this, &TAnalysisView::PointClicked);
  return page;
}

MemoPanelGrid& TAnalysisView::DetailGrid() {
  if (detail_ == nullptr) {
    detail_ = new MemoPanelGrid(this);
    detail_->setObjectName("Detail");
    addWidget(detail_);
    InstallWhatsThis(detail_);
  }
  return *detail_;
}

QTableView& TAnalysisView::ShortTextGrid() {
  ShortTextPage();
  return *short_text_;
}

QWidget* TAnalysisView::ShortTextPage() {
  if (short_text_page_ != nullptr) return short_text_page_;
  auto* page = new QWidget(this);
  short_text_page_ = page;
  page->setObjectName("ShortText");
  pnlOtherResponses_ = new QFrame(page);
  pnlOtherResponses_->setObjectName("pnlOtherResponses");
  pnlOtherResponses_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  auto* label = new QLabel("Other Responses", pnlOtherResponses_);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  auto* back = new QPushButton("&Back to Chart", pnlOtherResponses_);
  back->setObjectName("btnBackToChart");
  connect(back, &QPushButton::clicked, this, &TAnalysisView::BackToChart);
  auto* bar = new QHBoxLayout(pnlOtherResponses_);
  bar->addWidget(label, 1);
  bar->addWidget(back);
  pnlOtherResponses_->hide();

  short_text_ = new QTableView(page);
  short_text_->setObjectName("grdShortText");
  short_text_model_ = new ResponseColumnModel(short_text_);
  short_text_->setModel(short_text_model_);
  short_text_->setSelectionBehavior(QAbstractItemView::SelectRows);
  short_text_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  short_text_->horizontalHeader()->setStretchLastSection(true);
  short_text_->setWordWrap(false);
  short_text_->verticalHeader()->setDefaultSectionSize(short_text_->fontMetrics().height() + 6);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(pnlOtherResponses_);
  layout->addWidget(short_text_, 1);
  addWidget(page);
  InstallWhatsThis(page);
  return page;
}

bool TAnalysisView::OtherResponsesShown() const {
  return pnlOtherResponses_ != nullptr && !pnlOtherResponses_->isHidden();
}

std::string TAnalysisView::ShownAnswerField() const {
  if (item_ < 0 || item_ >= survey_.ItemCount()) return {};
  return "QVX" + std::to_string(survey_.Item(item_).ID) + (OtherResponsesShown() ? "OT" : "");
}

void TAnalysisView::SetViewFilter(const std::string& filter) {
  try {
    table_.table().SetFilter(filter);
  } catch (const std::exception&) {
    // A condition on a field the table lacks: the results were counted
    // without it (and said so); the views show every record.
    table_.table().SetFilter("");
  }
}

void TAnalysisView::ShowQuestion(int item_index) {
  if (item_index < 0 || item_index >= survey_.ItemCount()) return;
  item_ = item_index;
  const TQuestion& q = survey_.Item(item_index);
  if (pnlOtherResponses_ != nullptr) pnlOtherResponses_->hide();
  if (q.Style == kStyleText) {
    setCurrentWidget(q.LengthOfResponse == -1 ? static_cast<QWidget*>(&DetailGrid())
                                              : ShortTextPage());
  } else {
    if (q.Style == kStyleNumeric) {
      // Nothing counted: no average of another question's answers.
      const TNumericResults* n = survey_.Results().NumericOf(q.ID);
      average_text_ = AverageText(n != nullptr ? n->Average : 0);
    }
    setCurrentWidget(graph_);
  }
  if (table_.IsOpen()) {
    // The counts fall back to every record when no record meets the
    // filter; the answers listed beside them follow.
    const std::string filter = CountedFilterExpression(survey_);
    SetViewFilter(filter);
    if (q.Style == kStyleText) ShowTextAnswers(q, filter);
  } else {
    ForgetTable();
  }
  // Without a table the results list is empty, so the chart and the
  // numbers under it are too: nothing of the question shown before stays.
  FillChart(chart_->chart(), q, survey_.Results());
  ApplyQuestionSettings(chart_->chart(), q);
  chart_->chart().title = Q(q.Text + "\r\n" + TypeLine(q, average_text_));
  chart_->Redraw();
  summary_->Show(q, survey_.Results());
  emit ViewChanged();
}

void TAnalysisView::ShowTextAnswers(const TQuestion& q, const std::string& filter) {
  const std::string field = "QVX" + std::to_string(q.ID);
  SetViewFilter(AnswerViewFilter(q, filter));
  if (q.LengthOfResponse == -1) {
    DetailGrid().Show(&table_.table(), Q(field));
  } else {
    short_text_model_->Show(&table_.table(), Q(field));
  }
}

void TAnalysisView::PointClicked(const QString& label) {
  if (label != "Other" || item_ < 0) return;
  setCurrentWidget(ShortTextPage());
  pnlOtherResponses_->show();
  if (table_.IsOpen()) {
    const std::string field = "QVX" + std::to_string(survey_.Item(item_).ID) + "OT";
    // Every record's Other text counts here, whatever the analysis filter:
    // the filter's query goes too, and Show question sets it back as the
    // view filter.
    table_.table().SetQuery("");
    SetViewFilter("LEFT( " + field + ", 1) > \" \"");
    short_text_model_->Show(&table_.table(), Q(field));
  }
  emit ViewChanged();
}

void TAnalysisView::BackToChart() {
  pnlOtherResponses_->hide();
  ShowQuestion(item_);
}

void TAnalysisView::ClearChart() {
  for (int k = 0; k < kSeriesKinds; ++k) chart_->chart().Series(static_cast<SeriesKind>(k)).Clear();
  chart_->chart().title.clear();
  chart_->Redraw();
  summary_->Clear();
}

void TAnalysisView::ForgetTable() {
  if (detail_ != nullptr) detail_->Show(nullptr, {});
  if (short_text_model_ != nullptr) short_text_model_->Show(nullptr, {});
  // What was counted from the table goes with it, here and in an export.
  ClearChart();
}

void TAnalysisView::SetBackground(const ChartBackground& background) {
  ApplyBackground(chart_->chart(), background);
  chart_->Redraw();
}

}  // namespace quorvant::app
