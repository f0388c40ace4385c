#include "app/analysis/chart_toolbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/analysis/chart_colors.h"
#include "app/chart/chart_view.h"
#include "app/shell/whats_this.h"
#include "core/shell/prompts.h"
#include "core/shell/settings_keys.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"

namespace quorvant::app {
namespace {

QComboBox* DropDown(const char* name, const QStringList& entries, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(entries);
  return box;
}

// A drop-down of the colour choices, each entry drawn with its swatch.
QComboBox* ColorDropDown(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  for (const NamedColor& c : ChartColorChoices()) {
    QPixmap swatch(16, 12);
    swatch.fill(c.color);
    QPainter frame(&swatch);
    frame.setPen(Qt::darkGray);
    frame.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    box->addItem(QIcon(swatch), c.name);
  }
  return box;
}

QLabel* Label(const char* text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

void SetIndex(QComboBox* box, int index) {
  if (index >= 0 && index < box->count()) box->setCurrentIndex(index);
}

}  // namespace

TQVXChartTool::TQVXChartTool(Context context, QWidget* owner)
    : QWidget(owner, Qt::Tool), context_(std::move(context)), owner_(owner) {
  setObjectName("TQVXChartTool");
  setWindowTitle("Chart Toolbox");
  pgcToolbox_ = new QTabWidget(this);
  pgcToolbox_->setObjectName("pgcToolbox");
  pgcToolbox_->addTab(BuildStylePage(), "Style");
  pgcToolbox_->addTab(BuildBackgroundPage(), "Background");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(pgcToolbox_);
  adjustSize();

  const int top =
      context_.settings.ReadInteger(settings::kChartToolbox, "Top", settings::kNotStored);
  const int left =
      context_.settings.ReadInteger(settings::kChartToolbox, "Left", settings::kNotStored);
  if (top == settings::kNotStored) {
    const QRect main = owner->frameGeometry();
    move(main.left(), main.bottom() - frameGeometry().height());
  } else {
    move(left, top);
  }
  UpdateEnabled();
  InstallWhatsThis(this);
}

TQVXChartTool::~TQVXChartTool() {
  context_.settings.WriteInteger(settings::kChartToolbox, "Top", y());
  context_.settings.WriteInteger(settings::kChartToolbox, "Left", x());
}

QWidget* TQVXChartTool::BuildStylePage() {
  auto* page = new QWidget(this);
  page->setObjectName("tsStyle");
  cmbChartType_ =
      DropDown("cmbChartType", {"Bar", "Pie", "Area", "Horizontal Bar", "Line", "Scatter"}, page);
  cbDisplayLegend_ = new QCheckBox("Display &Legend", page);
  cbDisplayLegend_->setObjectName("cbDisplayLegend");
  cmbLegendStyle_ =
      DropDown("cmbLegendStyle",
               {"Plain", "Left Value", "Right Value", "Left Percent", "Right Percent"}, page);
  cbDisplayMarks_ = new QCheckBox("Display &Marks", page);
  cbDisplayMarks_->setObjectName("cbDisplayMarks");
  cmbMarksStyle_ = DropDown("cmbMarksStyle",
                            {"Value", "Percent", "Label", "Label & Percent", "Label & Value",
                             "Legend", "Percent Total", "Label & Percent Total"},
                            page);
  tbRotation_ = new QSlider(Qt::Horizontal, page);
  tbRotation_->setObjectName("tbRotation");
  tbRotation_->setRange(0, 360);
  tbRotation_->setPageStep(60);
  tbRotation_->setTickInterval(30);
  tbRotation_->setTickPosition(QSlider::TicksBelow);
  lblRotation_ = Label("&Rotation:", tbRotation_, page);
  lblRotation_->setObjectName("lblRotation");
  lblDegrees_ = new QLabel("0 Degrees", page);
  lblDegrees_->setObjectName("lblDegrees");
  auto* apply_all = new QPushButton("&Apply To All...", page);
  apply_all->setObjectName("btnApplyToAll");

  for (QComboBox* box : {cmbChartType_, cmbLegendStyle_, cmbMarksStyle_}) {
    connect(box, &QComboBox::currentIndexChanged, this, &TQVXChartTool::StyleChanged);
  }
  for (QCheckBox* box : {cbDisplayLegend_, cbDisplayMarks_}) {
    connect(box, &QCheckBox::toggled, this, &TQVXChartTool::StyleChanged);
  }
  connect(tbRotation_, &QSlider::valueChanged, this, &TQVXChartTool::StyleChanged);
  connect(apply_all, &QPushButton::clicked, this, &TQVXChartTool::ApplyToAll);

  auto* layout = new QGridLayout(page);
  layout->addWidget(Label("Chart &Type:", cmbChartType_, page), 0, 0);
  layout->addWidget(cmbChartType_, 0, 1);
  layout->addWidget(cbDisplayLegend_, 1, 0, 1, 2);
  layout->addWidget(cmbLegendStyle_, 2, 0, 1, 2);
  layout->addWidget(cbDisplayMarks_, 3, 0, 1, 2);
  layout->addWidget(cmbMarksStyle_, 4, 0, 1, 2);
  layout->addWidget(lblRotation_, 5, 0);
  layout->addWidget(lblDegrees_, 5, 1, Qt::AlignRight);
  layout->addWidget(tbRotation_, 6, 0, 1, 2);
  layout->addWidget(apply_all, 7, 0, 1, 2);
  layout->setRowStretch(8, 1);
  return page;
}

QWidget* TQVXChartTool::BuildBackgroundPage() {
  auto* page = new QWidget(this);
  page->setObjectName("tsBackground");
  rbSolid_ = new QRadioButton("&Solid", page);
  rbSolid_->setObjectName("rbSolid");
  rbGradient_ = new QRadioButton("&Gradient", page);
  rbGradient_->setObjectName("rbGradient");
  cmbColor_ = ColorDropDown("cmbColor", page);
  cmbFromColor_ = ColorDropDown("cmbFromColor", page);
  cmbToColor_ = ColorDropDown("cmbToColor", page);
  cmbDirection_ = DropDown(
      "cmbDirection", {"Top to Bottom", "Bottom to Top", "Left to Right", "Right to Left"}, page);
  // Each control changes its own value only: a stored colour that no entry
  // shows stays until its own drop-down is used.
  connect(rbSolid_, &QRadioButton::toggled, this, [this](bool solid) {
    if (!loading_) BackgroundChanged([solid](ChartBackground& bg) { bg.use_solid = solid; });
  });
  const std::pair<QComboBox*, int ChartBackground::*> colours[] = {
      {cmbColor_, &ChartBackground::solid_color},
      {cmbFromColor_, &ChartBackground::from_color},
      {cmbToColor_, &ChartBackground::to_color}};
  for (const auto& [box, member] : colours) {
    connect(box, &QComboBox::currentIndexChanged, this, [this, member](int i) {
      if (loading_ || i < 0) return;
      const int stored = StoredFromColor(ChartColorChoices()[static_cast<size_t>(i)].color);
      BackgroundChanged([member, stored](ChartBackground& bg) { bg.*member = stored; });
    });
  }
  connect(cmbDirection_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!loading_ && i >= 0)
      BackgroundChanged([i](ChartBackground& bg) { bg.gradient_direction = i; });
  });
  auto* layout = new QFormLayout(page);
  layout->addRow(rbSolid_);
  layout->addRow(Label("&Color:", cmbColor_, page), cmbColor_);
  layout->addRow(rbGradient_);
  layout->addRow(Label("&From Color:", cmbFromColor_, page), cmbFromColor_);
  layout->addRow(Label("&To Color:", cmbToColor_, page), cmbToColor_);
  layout->addRow(Label("&Direction:", cmbDirection_, page), cmbDirection_);
  return page;
}

void TQVXChartTool::LoadQuestionSettings(const TQuestion& q) {
  loading_ = true;
  SetIndex(cmbChartType_, q.ChartType);
  cbDisplayLegend_->setChecked(q.DisplayLegend);
  SetIndex(cmbLegendStyle_, q.LegendStyle);
  cbDisplayMarks_->setChecked(q.DisplayMarks);
  SetIndex(cmbMarksStyle_, q.MarksStyle);
  tbRotation_->setValue(q.Rotation);
  loading_ = false;
  TChart& chart = context_.chart.chart();
  chart.ShowOnly(KindOfChartType(q.ChartType));
  app::ApplyQuestionSettings(chart, q);
  context_.chart.Redraw();
  UpdateEnabled();
}

void TQVXChartTool::Toggle() {
  if (isVisible()) {
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    hide();
  } else {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
  }
}

void TQVXChartTool::showEvent(QShowEvent* event) {
  ReadFromChart();
  QWidget::showEvent(event);
}

void TQVXChartTool::ReadFromChart() {
  loading_ = true;
  const TChart& chart = context_.chart.chart();
  if (const auto kind = chart.VisibleKind(); kind && *kind != SeriesKind::kPoint) {
    cmbChartType_->setCurrentIndex(static_cast<int>(*kind));
  }
  cbDisplayLegend_->setChecked(chart.legend_visible);
  cmbLegendStyle_->setCurrentIndex(static_cast<int>(chart.legend_style));
  if (const auto kind = chart.VisibleKind()) {
    const ChartSeries& series = chart.Series(*kind);
    cbDisplayMarks_->setChecked(series.marks_visible);
    cmbMarksStyle_->setCurrentIndex(static_cast<int>(series.marks_style));
  }
  const ChartBackground& bg = context_.background;
  SetIndex(cmbColor_, ChartColorIndex(ColorFromStored(bg.solid_color)));
  SetIndex(cmbFromColor_, ChartColorIndex(ColorFromStored(bg.from_color)));
  SetIndex(cmbToColor_, ChartColorIndex(ColorFromStored(bg.to_color)));
  SetIndex(cmbDirection_, bg.gradient_direction);
  (bg.use_solid ? rbSolid_ : rbGradient_)->setChecked(true);
  pgcToolbox_->setCurrentIndex(0);
  loading_ = false;
  UpdateEnabled();
}

void TQVXChartTool::UpdateEnabled() {
  cmbLegendStyle_->setEnabled(cbDisplayLegend_->isChecked());
  cmbMarksStyle_->setEnabled(cbDisplayMarks_->isChecked());
  const bool pie = cmbChartType_->currentIndex() == static_cast<int>(SeriesKind::kPie);
  for (QWidget* w : std::initializer_list<QWidget*>{lblRotation_, lblDegrees_, tbRotation_}) {
    w->setEnabled(pie);
  }
}

void TQVXChartTool::WriteInto(TQuestion& question) const {
  question.ChartType = cmbChartType_->currentIndex();
  question.DisplayLegend = cbDisplayLegend_->isChecked();
  question.LegendStyle = cmbLegendStyle_->currentIndex();
  question.DisplayMarks = cbDisplayMarks_->isChecked();
  question.MarksStyle = cmbMarksStyle_->currentIndex();
  question.Rotation = tbRotation_->value();
}

// Every per-question control ends here: the chart takes all of them, and,
// unless they are being loaded, the question shown takes them too.
void TQVXChartTool::StyleChanged() {
  lblDegrees_->setText(QString::number(tbRotation_->value()) + " Degrees");
  UpdateEnabled();
  if (loading_) return;
  TQuestion settings;
  WriteInto(settings);
  TChart& chart = context_.chart.chart();
  chart.ShowOnly(KindOfChartType(settings.ChartType));
  app::ApplyQuestionSettings(chart, settings);
  context_.chart.Redraw();
  ApplyQuestionSettings();
}

void TQVXChartTool::ApplyQuestionSettings() {
  const int item = context_.current_item();
  if (item < 0 || item >= context_.survey.ItemCount()) return;
  TQuestion settings;
  WriteInto(settings);
  context_.survey.UpdateChartSettings(item, settings.ChartType, settings.DisplayLegend,
                                      settings.LegendStyle, settings.DisplayMarks,
                                      settings.MarksStyle, settings.Rotation);
  context_.changed();
}

void TQVXChartTool::ApplyToAll() {
  if (!context_.prompts.Confirm("Do you want to apply these chart settings to all other questions?",
                                true)) {
    return;
  }
  TQuestion settings;
  WriteInto(settings);
  for (const int item : context_.listed_items()) {
    if (item < 0 || item >= context_.survey.ItemCount()) continue;
    context_.survey.UpdateChartSettings(item, settings.ChartType, settings.DisplayLegend,
                                        settings.LegendStyle, settings.DisplayMarks,
                                        settings.MarksStyle, settings.Rotation);
  }
  context_.changed();
}

void TQVXChartTool::BackgroundChanged(const std::function<void(ChartBackground&)>& change) {
  change(context_.background);
  ApplyBackground(context_.chart.chart(), context_.background);
  context_.chart.Redraw();
}

}  // namespace quorvant::app
