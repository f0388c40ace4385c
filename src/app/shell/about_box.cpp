#include "app/shell/about_box.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/shell/bundled_icon.h"
#include "app/shell/dialog_placement.h"
#include "core/shell/system_helpers.h"
#include "core/shell/vendor.h"

namespace quorvant::app {

TQVXAbout::TQVXAbout(QWidget* parent, bool splash)
    : QDialog(parent, splash ? Qt::SplashScreen | Qt::FramelessWindowHint : Qt::Dialog) {
  setObjectName("TQVXAbout");
  setWindowTitle("About Quorvant");
  // Palette and font set directly: a style sheet would cost the splash a
  // noticeable part of the program's start-up.
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);

  auto* logo = new QLabel(this);
  logo->setPixmap(BundledIcon("quorvant").pixmap(72, 72));
  logo->setAlignment(Qt::AlignCenter);
  auto* product = new QLabel("Quorvant", this);
  product->setObjectName("lblProduct");
  QFont product_font = product->font();
  product_font.setPointSize(20);
  product_font.setBold(true);
  product->setFont(product_font);
  product->setAlignment(Qt::AlignCenter);
  auto* tagline = new QLabel("Questionnaires on the web, from first draft to results", this);
  tagline->setAlignment(Qt::AlignCenter);
  auto* version = new QLabel("Version " + QString::fromStdString(FileVersionText()), this);
  version->setObjectName("lblVersion");
  version->setAlignment(Qt::AlignCenter);
  auto* site =
      new QLabel(QString::fromUtf8(vendor::kWebSite.data(), vendor::kWebSite.size()), this);
  site->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(32, 24, 32, 24);
  layout->addWidget(logo);
  layout->addWidget(product);
  layout->addWidget(tagline);
  layout->addSpacing(12);
  layout->addWidget(version);
  layout->addWidget(site);
  // The splash goes by itself; the about box is closed by its button, Enter
  // or Esc.
  if (!splash) {
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addSpacing(12);
    layout->addWidget(ok, 0, Qt::AlignCenter);
  }
  adjustSize();
  CentreOnScreen(*this);
}

void TQVXAbout::mousePressEvent(QMouseEvent*) { accept(); }

// A thin frame, so that the borderless splash stands apart from what is
// behind it.
void TQVXAbout::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace quorvant::app
