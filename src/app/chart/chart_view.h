// ChartView: a widget that shows one TChart, redrawn at the widget's size,
// and reports a click on a point with the point's label.
#pragma once

#include <QWidget>

#include "app/chart/chart.h"

namespace quorvant::app {

class ChartView : public QWidget {
  Q_OBJECT

 public:
  explicit ChartView(QWidget* parent = nullptr);

  TChart& chart() { return chart_; }
  const TChart& chart() const { return chart_; }
  // Call after changing the chart.
  void Redraw() { update(); }

 signals:
  // A click on a visible point of any series.
  void PointClicked(const QString& label);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TChart chart_;
};

}  // namespace quorvant::app
