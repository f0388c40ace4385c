#include "app/shell/bundled_icon.h"

#include <QApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QResource>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <map>
#include <memory>
#include <utility>

#include "app/shell/drawn_image.h"

namespace quorvant::app {
namespace {

class DrawingIconEngine : public QIconEngine {
 public:
  explicit DrawingIconEngine(QString name) : name_(std::move(name)) {}

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    if (const QPixmap* drawn = DrawnAtBuild(size)) return drawn->size();
    QSize drawn = Renderer().defaultSize();
    if (drawn.isEmpty()) return size;
    drawn.scale(size, Qt::KeepAspectRatio);
    return drawn;
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    const auto key = std::make_pair(std::make_pair(size.width(), size.height()), mode);
    if (auto found = made_.find(key); found != made_.end()) return found->second;
    const QPixmap* drawn = DrawnAtBuild(size);
    QPixmap pixmap = drawn ? *drawn : Draw(actualSize(size, mode, state));
    // Disabled and selected looks come from the style, as for any icon.
    if (mode != QIcon::Normal && !pixmap.isNull()) {
      QStyleOption option;
      option.palette = QApplication::palette();
      const QPixmap styled = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
      if (!styled.isNull()) pixmap = styled;
    }
    made_.emplace(key, pixmap);
    return pixmap;
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
    drawn.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, drawn);
  }

  QIconEngine* clone() const override { return new DrawingIconEngine(name_); }
  QString key() const override { return "QuorvantDrawing"; }

 private:
  // The drawing as drawn at build time at this size, or null when it was not.
  const QPixmap* DrawnAtBuild(const QSize& size) {
    if (size.width() != size.height()) return nullptr;
    auto found = built_.find(size.width());
    if (found == built_.end()) {
      const QResource drawn(QString(":/drawn/%1-%2.argb").arg(name_).arg(size.width()));
      const bool stored =
          drawn.isValid() && drawn.compressionAlgorithm() == QResource::NoCompression;
      const QImage image = stored ? DecodeDrawnImage(drawn.data(), drawn.size()) : QImage();
      found = built_.emplace(size.width(), QPixmap::fromImage(image)).first;
    }
    return found->second.isNull() ? nullptr : &found->second;
  }

  QSvgRenderer& Renderer() {
    if (!renderer_) renderer_ = std::make_unique<QSvgRenderer>(":/icons/" + name_ + ".svg");
    return *renderer_;
  }

  QPixmap Draw(const QSize& size) {
    if (size.isEmpty() || !Renderer().isValid()) return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Renderer().render(&painter);
    painter.end();
    return QPixmap::fromImage(std::move(image));
  }

  QString name_;
  std::unique_ptr<QSvgRenderer> renderer_;  // read on first use
  std::map<int, QPixmap> built_;            // by side; null where none was drawn
  std::map<std::pair<std::pair<int, int>, QIcon::Mode>, QPixmap> made_;
};

}  // namespace

QIcon BundledIcon(const QString& name) { return QIcon(new DrawingIconEngine(name)); }

QIcon ThemeIcon(const char* theme_name, const char* bundled) {
  const QIcon themed = QIcon::fromTheme(theme_name);
  if (!themed.isNull() && !themed.availableSizes().isEmpty()) return themed;
  return BundledIcon(bundled);
}

}  // namespace quorvant::app
