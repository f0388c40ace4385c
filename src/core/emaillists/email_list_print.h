// The printed e-mail list: on every page a header (the caption in bold, a
// heavy rule, the column titles with the sort mark, a rule) and a footer
// (a rule and "Page " + number, centred), and between them one line per
// record of the active order with a thin rule under each. Units are the
// canvas's; the character width is the width of "a".
#pragma once

namespace quorvant {

class PageCanvas;
class TEmailList;

// Requires: the list is open. Throws ETableError when the records cannot be
// read.
void PrintEmailList(TEmailList& list, PageCanvas& canvas);

}  // namespace quorvant
