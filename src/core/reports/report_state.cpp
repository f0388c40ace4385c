#include "core/reports/report_state.h"

#include <utility>

namespace quorvant {

ReportState::ReportState(PageCanvas& canvas, PagePart header, PagePart footer)
    : canvas_(canvas), header_(std::move(header)), footer_(std::move(footer)) {}

void ReportState::Begin() {
  page_ = 1;
  y_ = 0;
  if (header_) header_(*this);
}

bool ReportState::BreakIfPast(int limit) {
  if (y_ <= limit) return false;
  if (footer_) footer_(*this);
  canvas_.NewPage();
  ++page_;
  y_ = 0;
  if (header_) header_(*this);
  return true;
}

void ReportState::Finish() {
  if (footer_) footer_(*this);
}

}  // namespace quorvant
