// PageCanvas: the drawing surface of a printed report, in the device's own
// units (printer pixels). The core lays reports out through it; the
// application draws on a printer or a PDF file, tests record the calls.
//
// Coordinates grow right and down from the page's top left corner. Text is
// UTF-8 and drawn with its top at y. The text style and the pen stay as set
// until changed.
//
// Thread-safety: none; one report draws on one canvas.
#pragma once

#include <string_view>

namespace quorvant {

struct TextStyle {
  bool bold = false;
  // Size relative to the canvas's base font, in steps of one fifth of it:
  // 0 the base size, 5 twice as large, -2 three fifths.
  int size_step = 0;
  // Points added to the size above (the printed reports' "2 points larger").
  int points = 0;

  bool operator==(const TextStyle&) const = default;
};

class PageCanvas {
 public:
  virtual ~PageCanvas() = default;

  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;

  virtual void SetTextStyle(const TextStyle& style) = 0;
  // The extent of text in the current style.
  virtual int TextWidth(std::string_view text) = 0;
  virtual int TextHeight(std::string_view text) = 0;
  virtual void DrawText(int x, int y, std::string_view text) = 0;

  virtual void SetPenWidth(int width) = 0;
  virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
  // Outlines: a circle around (cx, cy), a square with its top left at (x, y).
  virtual void DrawCircle(int cx, int cy, int radius) = 0;
  virtual void DrawSquare(int x, int y, int side) = 0;

  // Draws the chart the report stands at into the rectangle from (x1, y1)
  // to (x2, y2). A canvas that holds no chart leaves the rectangle blank.
  virtual void DrawChart(int /*x1*/, int /*y1*/, int /*x2*/, int /*y2*/) {}

  // Ends the page and starts a blank one.
  virtual void NewPage() = 0;
};

}  // namespace quorvant
