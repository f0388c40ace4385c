#include "core/emaillists/email_list_labels.h"

#include "core/emaillists/email_list.h"
#include "core/shell/atomic_file.h"

namespace quorvant {

std::string EmailListCaption(std::string_view path) {
  return "Email List Manager - " + std::string(path);
}

std::string EmailColumnTitle(int field, int sort_field) {
  std::string title = kEmailListFields[static_cast<size_t>(field)].label;
  if (field == sort_field) title += " *";
  return title;
}

std::string EmailFindLabel(int sort_field) {
  return std::string(" F&ind ") + kEmailListFields[static_cast<size_t>(sort_field)].label + ":";
}

std::string EmailFindStatus(bool found, int sort_field, std::string_view text) {
  const std::string quoted = "\"" + std::string(text) + "\"";
  if (found) return " Found " + quoted;
  return std::string(" Could not find ") + kEmailListFields[static_cast<size_t>(sort_field)].label +
         " of " + quoted;
}

std::string EmailListToShow(const std::string& notification_file, const std::string& data_dir) {
  if (!notification_file.empty() && FileExists(notification_file)) return notification_file;
  return data_dir + "default.eml";
}

}  // namespace quorvant
