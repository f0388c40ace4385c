// TQVXAbout: the about box, also shown borderless as the splash while the
// program starts. A click anywhere on it closes it; the about box also has
// an "OK" button, and Esc closes it.
#pragma once

#include <QDialog>

namespace quorvant::app {

class TQVXAbout : public QDialog {
  Q_OBJECT

 public:
  // A splash has no frame and no close button; the main window frees it.
  TQVXAbout(QWidget* parent, bool splash);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quorvant::app
