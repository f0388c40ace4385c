#include "core/reports/office_documents.h"

#include <algorithm>
#include <cstdio>

#include "core/reports/xml_text.h"

namespace quorvant {
namespace {

constexpr char kNamespaces[] =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\""
    " xmlns:xlink=\"http://www.w3.org/1999/xlink\""
    " xmlns:presentation=\"urn:oasis:names:tc:opendocument:xmlns:presentation:1.0\""
    " office:version=\"1.2\"";

std::string Head(const char* mimetype) {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document") + kNamespaces +
         " office:mimetype=\"" + mimetype + "\">\n";
}

std::string Centimetres(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2fcm", value);
  return text;
}

// The image scaled to fit width_cm x height_cm, keeping its proportions.
std::string Frame(const EmbeddedImage& image, double width_cm, double height_cm,
                  const std::string& place) {
  const double w = std::max(image.width, 1);
  const double h = std::max(image.height, 1);
  const double scale = std::min(width_cm / w, height_cm / h);
  return "<draw:frame draw:name=\"Chart\"" + place + " svg:width=\"" + Centimetres(w * scale) +
         "\" svg:height=\"" + Centimetres(h * scale) + "\"><draw:image><office:binary-data>" +
         std::string(image.png_base64) + "</office:binary-data></draw:image></draw:frame>";
}

}  // namespace

std::string FlatTextWithImage(const EmbeddedImage& image) {
  return Head("application/vnd.oasis.opendocument.text") + "<office:body><office:text>\n<text:p>" +
         Frame(image, 16.0, 20.0, " text:anchor-type=\"as-char\"") +
         "</text:p>\n</office:text></office:body></office:document>\n";
}

std::string FlatTextWithLines(const std::vector<std::string>& lines) {
  std::string body;
  for (const std::string& line : lines) body += "<text:p>" + EscapeXmlText(line) + "</text:p>\n";
  return Head("application/vnd.oasis.opendocument.text") + "<office:body><office:text>\n" + body +
         "</office:text></office:body></office:document>\n";
}

std::string FlatPresentationWithImage(const EmbeddedImage& image) {
  // A 28 x 21 cm slide with the chart centred in 2 cm margins.
  const double w = std::max(image.width, 1);
  const double h = std::max(image.height, 1);
  const double scale = std::min(24.0 / w, 17.0 / h);
  const std::string place = " svg:x=\"" + Centimetres((28.0 - w * scale) / 2) + "\" svg:y=\"" +
                            Centimetres((21.0 - h * scale) / 2) + "\"";
  return Head("application/vnd.oasis.opendocument.presentation") +
         "<office:automatic-styles><style:page-layout style:name=\"Slide\">"
         "<style:page-layout-properties fo:page-width=\"28cm\" fo:page-height=\"21cm\" "
         "fo:margin-top=\"0cm\" fo:margin-bottom=\"0cm\" fo:margin-left=\"0cm\" "
         "fo:margin-right=\"0cm\"/></style:page-layout></office:automatic-styles>\n"
         "<office:master-styles><style:master-page style:name=\"Default\" "
         "style:page-layout-name=\"Slide\"/></office:master-styles>\n"
         "<office:body><office:presentation>\n<draw:page draw:name=\"Chart\" "
         "draw:master-page-name=\"Default\">" +
         Frame(image, 24.0, 17.0, place) +
         "</draw:page>\n</office:presentation></office:body></office:document>\n";
}

}  // namespace quorvant
