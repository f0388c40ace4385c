#include "core/publishing/mailing_history.h"

#include <charconv>

namespace quorvant {
namespace {

// The number at the start of text, followed by `after`; nothing otherwise.
std::optional<int> CountBefore(std::string_view text, std::string_view after) {
  int count = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (error != std::errc() || end == text.data()) return std::nullopt;
  if (!std::string_view(end, text.data() + text.size() - end).starts_with(after))
    return std::nullopt;
  return count;
}

// The messages a run's history entry counts as sent; nothing for a line
// that no mailing wrote.
std::optional<int> SentByEntry(std::string_view entry) {
  if (auto n = CountBefore(entry, " Notifications sent.")) return n;
  if (auto n = CountBefore(entry, " Reminders sent.")) return n;
  for (std::string_view prefix :
       {"Send notifications stopped by user - ", "Send notifications ended by an error - "}) {
    if (entry.starts_with(prefix)) return CountBefore(entry.substr(prefix.size()), " sent");
  }
  return std::nullopt;
}

}  // namespace

std::optional<PastMailing> LastMailing(std::string_view history) {
  std::optional<PastMailing> last;
  size_t pos = 0;
  while (pos < history.size()) {
    size_t end = history.find('\n', pos);
    if (end == std::string_view::npos) end = history.size();
    std::string_view line = history.substr(pos, end - pos);
    if (line.ends_with('\r')) line.remove_suffix(1);
    pos = end + 1;
    // "date time: entry"; the time's own colons are followed by digits.
    size_t colon = line.find(": ");
    if (colon == std::string_view::npos) continue;
    const std::string_view entry = line.substr(colon + 2);
    std::optional<int> sent = SentByEntry(entry);
    if (sent && *sent > 0) {
      last = PastMailing{*sent, std::string(line.substr(0, colon)),
                         CountBefore(entry, " Reminders sent.").has_value()};
    }
  }
  return last;
}

namespace {

std::string AlreadyMailed(const PastMailing& past) {
  return std::string(past.reminders ? "The reminders" : "The invitations") +
         " of this survey were already mailed: " + std::to_string(past.sent) + " sent on " +
         past.when + ".";
}

}  // namespace

std::string MailAgainQuestion(const PastMailing& past) {
  return AlreadyMailed(past) + " Mail the list again?";
}

std::string RemindAgainQuestion(const PastMailing& past, int reminders) {
  return AlreadyMailed(past) + " Send a reminder to the " + std::to_string(reminders) +
         " who have not answered?";
}

}  // namespace quorvant
