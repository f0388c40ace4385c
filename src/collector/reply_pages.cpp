#include "collector/reply_pages.h"

#include "core/webpage/html_escape.h"

namespace quorvant::collector {

std::string ReplyPage(const std::string& title, const std::string& message) {
  const std::string t = EscapeHtml(title);
  return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
         "<title>" +
         t +
         "</title><style>body{font-family:system-ui,sans-serif;max-width:40em;"
         "margin:3em auto;padding:0 1em;line-height:1.5;color:#1b1f24}</style></head>\n"
         "<body><h1>" +
         t + "</h1><p>" + EscapeHtml(message) + "</p></body></html>\n";
}

}  // namespace quorvant::collector
