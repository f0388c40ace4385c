// TQVXMainForm: the "E&xport to" menu of the "Analysis" page: the chart or
// the typed answers onto the clipboard, or into the word processor or the
// presentation program through a flat OpenDocument file.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDesktopServices>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QUrl>

#include "app/analysis/analysis_view.h"
#include "app/analysis/office_bridge.h"
#include "app/chart/chart_view.h"
#include "app/shell/main_form.h"
#include "core/reports/answer_list.h"
#include "core/shell/prompts.h"
#include "core/survey/survey.h"

namespace quorvant::app {
namespace {

constexpr char kNoPresentationProgram[] =
    "You must have a recent version of Microsoft PowerPoint running to use this feature";
constexpr char kNoWordProcessor[] =
    "You must have a recent version of Microsoft Word running to use this feature";

}  // namespace

void TQVXMainForm::BuildExportMenu() {
  pmExportChart_ = new QMenu(this);
  pmExportChart_->setObjectName("pmExportChart");
  QMenu* clipboard = pmExportChart_->addMenu("&Clipboard as");
  clipboard->menuAction()->setObjectName("miChartToClipboard");
  auto add = [this](QMenu* menu, const char* name, const char* text, void (TQVXMainForm::*slot)()) {
    QAction* action = menu->addAction(text, this, slot);
    action->setObjectName(name);
  };
  add(clipboard, "miCopyChartBitmap", "&Bitmap", &TQVXMainForm::CopyChartBitmap);
  add(clipboard, "miCopyChartWMF", "Windows &Metafile", &TQVXMainForm::CopyChartMetafile);
  add(clipboard, "miCopyChartText", "&Text", &TQVXMainForm::CopyChartText);
  add(pmExportChart_, "miToPowerPoint", "&PowerPoint", &TQVXMainForm::ExportToPresentation);
  add(pmExportChart_, "miMSWord", "MS &Word", &TQVXMainForm::ExportToWordProcessor);
}

void TQVXMainForm::ShowExportMenu() {
  if (pmExportChart_ == nullptr) BuildExportMenu();
  const bool graph = analysis_view_->GraphShown();
  const QString page = analysis_view_->currentWidget()->objectName();
  for (const char* name : {"miToPowerPoint", "miCopyChartBitmap", "miCopyChartWMF"}) {
    pmExportChart_->findChild<QAction*>(name)->setEnabled(graph);
  }
  pmExportChart_->findChild<QAction*>("miCopyChartText")
      ->setEnabled(page == "Detail" || page == "ShortText");
  pmExportChart_->popup(btnExportChart_->mapToGlobal(QPoint(0, btnExportChart_->height())));
}

QImage TQVXMainForm::ChartImage() const {
  const ChartView& view = analysis_view_->Chart();
  const QSize size = view.size().isEmpty() ? QSize(640, 480) : view.size();
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  view.chart().Draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return image;
}

std::vector<std::string> TQVXMainForm::CurrentAnswers() {
  const std::string field = analysis_view_->ShownAnswerField();
  if (!response_table_.IsOpen() || field.empty()) return {};
  Table& table = response_table_.table();
  // What the page lists: the view filter it has set, on the field it shows
  // (the Other texts under "Other Responses").
  return TrimmedAnswers(table, table.Filter(), field);
}

void TQVXMainForm::CopyChartBitmap() { QApplication::clipboard()->setImage(ChartImage()); }

void TQVXMainForm::CopyChartMetafile() {
  const QImage image = ChartImage();
  QByteArray svg;
  QBuffer buffer(&svg);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(image.size());
  generator.setViewBox(QRectF(QPointF(0, 0), QSizeF(image.size())));
  {
    QPainter painter(&generator);
    analysis_view_->Chart().chart().Draw(painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
  }
  auto* data = new QMimeData;
  data->setData("image/svg+xml", svg);
  // Programs that take no SVG paste the picture.
  data->setImageData(image);
  QApplication::clipboard()->setMimeData(data);
}

void TQVXMainForm::CopyChartText() {
  QApplication::clipboard()->setText(QString::fromStdString(AnswerTextList(CurrentAnswers())));
}

void TQVXMainForm::OpenInOffice(int kind, const std::string& document, const char* missing) {
  const auto office = static_cast<OfficeKind>(kind);
  if (!DesktopHasProgramFor(OfficeMimeType(office))) {
    prompts_.ShowError(missing);
    return;
  }
  const std::string file = WriteOfficeFile(office, document);
  if (file.empty()) {
    prompts_.ShowError("The document for the office program could not be written.");
    return;
  }
  document_.AddTemporaryFile(file);
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file)));
}

void TQVXMainForm::ExportToPresentation() {
  const int kind = static_cast<int>(OfficeKind::kPresentation);
  OpenInOffice(kind, OfficeDocument(OfficeKind::kPresentation, ChartImage(), {}),
               kNoPresentationProgram);
}

void TQVXMainForm::ExportToWordProcessor() {
  const QImage image = analysis_view_->GraphShown() ? ChartImage() : QImage();
  std::vector<std::string> lines;
  if (image.isNull()) {
    const std::string text = AnswerTextList(CurrentAnswers());
    for (size_t at = 0; at < text.size();) {
      const size_t end = text.find("\r\n", at);
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
  }
  OpenInOffice(static_cast<int>(OfficeKind::kText), OfficeDocument(OfficeKind::kText, image, lines),
               kNoWordProcessor);
}

}  // namespace quorvant::app
