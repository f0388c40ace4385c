// TQVXChartTool ("Chart Toolbox"): a small tool window, kept on top of the
// main window while shown, that edits how the chart looks. Page "Style"
// holds the settings of the question shown (chart type, legend, marks,
// pie rotation), written into that question after every change; page
// "Background" holds the program's chart background, applied to the chart
// at once and kept by the main window.
//
// Ownership: edits the survey, the chart and the background it is given,
// which must outlive it. Its position is kept in the settings section
// "Chart Toolbox".
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "app/analysis/chart_settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSlider;
class QTabWidget;

namespace quorvant {
class Prompts;
class SettingsStore;
class TSurvey;
struct TQuestion;
}  // namespace quorvant

namespace quorvant::app {

class ChartView;

class TQVXChartTool : public QWidget {
  Q_OBJECT

 public:
  struct Context {
    TSurvey& survey;
    ChartView& chart;
    ChartBackground& background;
    SettingsStore& settings;
    Prompts& prompts;
    // The item the analysis question list shows (-1 for none), and every
    // item it lists.
    std::function<int()> current_item;
    std::function<std::vector<int>()> listed_items;
    // Runs after the survey changed (the main window refreshes).
    std::function<void()> changed;
  };

  // `owner` is the main window: with no stored position the toolbox stands
  // at its left edge, bottom on its bottom edge.
  TQVXChartTool(Context context, QWidget* owner);
  ~TQVXChartTool() override;

  // Sets the Style controls from the question and applies them to the
  // chart, writing nothing back.
  void LoadQuestionSettings(const TQuestion& question);
  // Shows the toolbox on top, its controls read from the chart and the
  // background, page "Style" in front; or hides it when shown.
  void Toggle();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildStylePage();
  QWidget* BuildBackgroundPage();
  void ReadFromChart();
  void UpdateEnabled();
  void ApplyQuestionSettings();
  void WriteInto(TQuestion& question) const;
  void ApplyToAll();
  void StyleChanged();
  void BackgroundChanged(const std::function<void(ChartBackground&)>& change);

  Context context_;
  QWidget* owner_;
  bool loading_ = false;

  QTabWidget* pgcToolbox_ = nullptr;
  QComboBox* cmbChartType_ = nullptr;
  QCheckBox* cbDisplayLegend_ = nullptr;
  QComboBox* cmbLegendStyle_ = nullptr;
  QCheckBox* cbDisplayMarks_ = nullptr;
  QComboBox* cmbMarksStyle_ = nullptr;
  QLabel* lblRotation_ = nullptr;
  QSlider* tbRotation_ = nullptr;
  QLabel* lblDegrees_ = nullptr;
  QRadioButton* rbSolid_ = nullptr;
  QRadioButton* rbGradient_ = nullptr;
  QComboBox* cmbColor_ = nullptr;
  QComboBox* cmbFromColor_ = nullptr;
  QComboBox* cmbToColor_ = nullptr;
  QComboBox* cmbDirection_ = nullptr;
};

}  // namespace quorvant::app
