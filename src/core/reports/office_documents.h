// Flat OpenDocument files (one XML file each) that carry what the Analysis
// page shows into a word processor or a presentation program: the chart as
// an embedded PNG image, or the answer lines as paragraphs. The desktop's
// program for the type opens them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

// The chart picture: PNG bytes already in base64, and its size in pixels.
struct EmbeddedImage {
  std::string_view png_base64;
  int width = 0;
  int height = 0;
};

// A text document (.fodt) holding the image in a paragraph of its own.
std::string FlatTextWithImage(const EmbeddedImage& image);
// A text document (.fodt) with one paragraph per line, escaped.
std::string FlatTextWithLines(const std::vector<std::string>& lines);
// A presentation (.fodp) of one slide holding the image.
std::string FlatPresentationWithImage(const EmbeddedImage& image);

}  // namespace quorvant
