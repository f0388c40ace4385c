// Replacement of template markers one after the other over a whole text.
//
// Step i replaces every occurrence of its marker in the text as the earlier
// steps left it, left to right, the search going on after each inserted text
// (so a text holding its own marker is inserted once, never re-expanded). A
// marker inside a text inserted by an earlier step is replaced as well.
//
// Large inserted texts that no later marker can touch (they hold none, and
// neither of their ends can form one together with what stands next to them)
// are not scanned again by the later steps. The result is the same; a page of
// thousands of questions is just not searched once per remaining marker.
//
// Thread-safety: a pure function.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quorvant {

struct MarkerStep {
  std::string_view marker;
  std::string text;  // what each occurrence becomes
};

std::string ReplaceMarkersInOrder(std::string_view text, std::span<const MarkerStep> steps);

}  // namespace quorvant
