// Wrapping of a typed text into printed lines no wider than the page.
//
// Thread-safety: none needed; the functions keep no state.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

// The width of a text in the printer's current font.
using TextMeasure = std::function<int(std::string_view)>;

// The printed lines of text, each no wider than width: every line break of
// the text (CR LF, LF or CR) starts a new line, an empty line included; a
// line too wide breaks after the last blank that fits, and a word wider
// than the whole width breaks between two characters (never inside one).
// The blanks at a break are dropped. A single character wider than width
// still gets a line of its own, so that nothing typed is lost. A line holds
// at most 1024 bytes however narrow its characters, so that wrapping takes
// time in proportion to the text.
std::vector<std::string> WrapText(std::string_view text, int width, const TextMeasure& measure);

}  // namespace quorvant
