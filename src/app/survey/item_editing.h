// Editing one existing item in the long-lived editors: a question in the
// question editor, a header in the header editor, filled from the item and
// read back after OK. Shared by the main window and the question library.
#pragma once

#include <optional>

#include "core/survey/editing_commands.h"

namespace quorvant {
struct TQuestion;
}

namespace quorvant::app {

class TQVXHeader;
class TQVXQuestion;

// The item's new fields, or nothing when the editor was cancelled. A header
// comes back with style 7 and every other field 0.
std::optional<ItemFields> EditItemFields(const TQuestion& item, TQVXQuestion& questions,
                                         TQVXHeader& headers);

}  // namespace quorvant::app
