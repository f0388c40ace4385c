#include "core/webpage/marker_replacement.h"

#include <vector>

#include "core/shell/text_helpers.h"

namespace quorvant {
namespace {

// Below this size an inserted text is cheaper to search again than to prove
// untouchable.
constexpr size_t kOpaqueMinimum = 4096;

// A piece of the text being built: either text that later steps search, or
// an inserted text (owned by its step) that they skip.
struct Segment {
  std::string text;
  const std::string* opaque = nullptr;
};

// One pass over text, stopping only at the characters that begin a marker.
bool HoldsAnyMarker(std::string_view text, std::span<const MarkerStep> steps) {
  std::string firsts;
  for (const MarkerStep& step : steps) {
    if (!step.marker.empty() && firsts.find(step.marker.front()) == std::string::npos) {
      firsts += step.marker.front();
    }
  }
  if (firsts.empty()) return false;
  auto next = [&](size_t from) {
    return firsts.size() == 1 ? text.find(firsts[0], from) : text.find_first_of(firsts, from);
  };
  for (size_t i = next(0); i != std::string_view::npos; i = next(i + 1)) {
    for (const MarkerStep& step : steps) {
      const std::string_view m = step.marker;
      // The second character rules out nearly every tag before a full compare.
      if (m.empty() || text.size() - i < m.size() || (m.size() > 1 && text[i + 1] != m[1])) {
        continue;
      }
      if (text.compare(i, m.size(), m) == 0) return true;
    }
  }
  return false;
}

// True when no occurrence of a later marker can ever overlap text: it holds
// none, it is longer than each, and no proper beginning of a marker ends it
// and no proper end of a marker begins it.
bool IsUntouchable(std::string_view text, std::span<const MarkerStep> later) {
  if (text.size() < kOpaqueMinimum) return false;
  for (const MarkerStep& step : later) {
    const std::string_view m = step.marker;
    if (text.size() <= m.size()) return false;
    for (size_t k = 1; k < m.size(); ++k) {
      if (text.ends_with(m.substr(0, k)) || text.starts_with(m.substr(k))) return false;
    }
  }
  return !HoldsAnyMarker(text, later);
}

void ApplyStep(const MarkerStep& step, bool opaque, std::vector<Segment>& segments) {
  std::vector<Segment> next;
  next.reserve(segments.size());
  for (Segment& segment : segments) {
    if (segment.opaque != nullptr || segment.text.find(step.marker) == std::string::npos) {
      next.push_back(std::move(segment));
    } else if (!opaque) {
      segment.text = ReplaceAll(segment.text, step.marker, step.text);
      next.push_back(std::move(segment));
    } else {
      const std::string& text = segment.text;
      size_t start = 0;
      for (size_t hit = text.find(step.marker); hit != std::string::npos;
           hit = text.find(step.marker, start)) {
        next.push_back({text.substr(start, hit - start)});
        next.push_back({{}, &step.text});
        start = hit + step.marker.size();
      }
      next.push_back({text.substr(start)});
    }
  }
  segments = std::move(next);
}

}  // namespace

std::string ReplaceMarkersInOrder(std::string_view text, std::span<const MarkerStep> steps) {
  std::vector<Segment> segments{{std::string(text)}};
  for (size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].marker.empty()) continue;
    ApplyStep(steps[i], IsUntouchable(steps[i].text, steps.subspan(i + 1)), segments);
  }
  size_t size = 0;
  for (const Segment& segment : segments) {
    size += segment.opaque != nullptr ? segment.opaque->size() : segment.text.size();
  }
  std::string out;
  out.reserve(size);
  for (const Segment& segment : segments) {
    out += segment.opaque != nullptr ? *segment.opaque : segment.text;
  }
  return out;
}

}  // namespace quorvant
