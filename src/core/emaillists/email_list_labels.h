// The texts the e-mail list manager shows around its list: the window
// caption, the column titles with the sort mark, the find label and the
// outcome of a find. Shared by the window, the printout and the CLI.
//
// Thread-safety: all functions are pure.
#pragma once

#include <string>
#include <string_view>

namespace quorvant {

// "Email List Manager - " + the list's file name.
std::string EmailListCaption(std::string_view path);
// The field's title, with " *" when it is the sort field.
std::string EmailColumnTitle(int field, int sort_field);
// " F&ind " + the sort field's title + ":".
std::string EmailFindLabel(int sort_field);
// " Found " + the quoted text, or " Could not find " + the sort field's
// title + " of " + the quoted text.
std::string EmailFindStatus(bool found, int sort_field, std::string_view text);

// The list shown when the manager opens: the survey's list when that file
// exists, else "default.eml" of the data directory (which ends in "/").
std::string EmailListToShow(const std::string& notification_file, const std::string& data_dir);

}  // namespace quorvant
