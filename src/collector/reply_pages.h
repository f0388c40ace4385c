// The small HTML pages the collector answers with.
#pragma once

#include <string>

namespace quorvant::collector {

// A complete page with the title as heading and the message (plain text,
// escaped here) below it.
std::string ReplyPage(const std::string& title, const std::string& message);

}  // namespace quorvant::collector
