// Who a reminder goes to: the people of a survey's notification list whose
// address appears in no response of the survey's response table.
//
// Addresses match when they are equal once trimmed of blanks and control
// characters, with ASCII letters compared without regard to case (other
// characters compare as they are: the domains of addresses are ASCII).
//
// Thread-safety: plain functions; each works on the table handle it is
// given.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace quorvant {

class Table;
class TSurvey;

// The text an address is compared by.
std::string AddressKey(std::string_view address);

// The keys of the EMAIL field of every record of the response table, read in
// one pass in file order; empty addresses are left out. Requires: the table
// is open. Throws ETableError when it cannot be read or has no EMAIL field.
std::unordered_set<std::string> AnsweredAddresses(Table& responses);

// Of the list's records `records` (in their order), those whose EMAIL is
// empty or not in `answered`. Requires: the list is open. Throws ETableError.
std::vector<uint32_t> NotAnsweredRecords(Table& list, const std::vector<uint32_t>& records,
                                         const std::unordered_set<std::string>& answered);

// Why reminders cannot be sent for the survey, in words for the person; ""
// when they can: its page must ask for the respondent's e-mail address
// (Only1Email), and its response table must exist, since without the
// responses nobody can tell who has answered.
std::string ReminderObstacle(const TSurvey& survey);

// The list records of `records` that get a reminder: opens the survey's
// response table (SRResponseFile) read-only for this call. Throws
// ETableError when that table cannot be read.
std::vector<uint32_t> SelectNotAnswered(const TSurvey& survey, Table& list,
                                        const std::vector<uint32_t>& records);

}  // namespace quorvant
