// What a question's results and settings make of the chart, shared by the
// Analysis page, the printed and web reports and quorvant-cli chart, so that
// every one of them draws the same chart.
#pragma once

#include "app/chart/chart.h"

namespace quorvant {
class SettingsStore;
class TResultsList;
struct TQuestion;
}  // namespace quorvant

namespace quorvant::app {

// The chart background of the program's settings, read at start-up and
// written at shutdown. Colours are 0x00BBGGRR integers.
struct ChartBackground {
  bool use_solid = true;
  int solid_color = 0xFFFFFF;
  int from_color = 0xFFFFFF;
  int to_color = 0x808000;
  int gradient_direction = 0;
};

// A 0x00BBGGRR integer as a colour, and back.
QColor ColorFromStored(int bgr);
int StoredFromColor(const QColor& color);

// The question's counts as points of the bar series, copied into the other
// five: for choice questions every entry counted at least once, in list
// order; for Numeric questions every group, those with 0 included. Then
// exactly the series of the question's ChartType is visible (Bar when the
// type is out of range).
void FillChart(TChart& chart, const TQuestion& question, const TResultsList& results);

// The question's legend, marks and rotation settings: legend visible and
// text style, marks visible on all six series, the visible series' marks
// style, the pie's rotation.
void ApplyQuestionSettings(TChart& chart, const TQuestion& question);

// Chart colour := solid colour; back colour := solid colour when solid is
// used, else the engine's default; the gradient, shown when solid is not
// used, runs from the to colour to the from colour in the stored direction.
void ApplyBackground(TChart& chart, const ChartBackground& background);

// The chart background as the settings store holds it (what the program
// read at its last start-up and wrote at shutdown).
ChartBackground StoredBackground(const SettingsStore& store);

// Everything a question's chart is drawn from: its counts, its settings,
// the background and the title the Analysis page shows above it.
void PrepareQuestionChart(TChart& chart, const TQuestion& question, const TResultsList& results,
                          const ChartBackground& background);

// The series kind of a stored ChartType (Bar when out of range).
SeriesKind KindOfChartType(int chart_type);

}  // namespace quorvant::app
