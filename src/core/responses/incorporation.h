// Incorporation: adding the submissions of a saved results reply to the
// survey's response table under the survey's collection rules, and keeping
// the survey's record of what it holds (SRLastUpdate, SRServerUpdate,
// SRResponseCount, the history) in step with the table.
//
// Thread-safety: none; it works on the caller's survey and table.
#pragma once

#include <functional>
#include <string>

namespace quorvant {

class Prompts;
class Table;
class TResponseTable;
class TSurvey;

// The counts of one incorporation. All start at false / 0.
struct TAddResponseResult {
  bool Completed = false;  // the incorporation ran to its end
  int Added = 0;           // records appended in this run
  int Total = 0;           // records in the response table afterwards
  int Eliminated = 0;      // submissions dropped by the collection rules
  int AlreadyHeld = 0;     // submissions the table held before (a repeated reply)
};

// Rebuilds the survey's results from its response table after an
// incorporation that leaves records in it. The analysis supplies it; an
// empty hook computes nothing.
using ComputeResultsHook = std::function<void(TSurvey&, TResponseTable&)>;

// Incorporates the reply saved in result_file:
//  1. ensures the response table (created when missing; when that fails its
//     box has been shown and nothing is appended);
//  2. a first line containing "<ERROR>" shows "The following error occurred
//     during update: " + the second line and adds nothing;
//  3. otherwise every line up to the end of the data is one submission.
//     LimitByIP passes only addresses holding one of IPAddresses; Only1IP
//     and Only1Email drop a submission whose address or e-mail address the
//     table already holds, records appended in this run included; those
//     count as Eliminated. A submission whose stamp is not newer than the
//     newest stamp the table held at the start was incorporated before and
//     counts as AlreadyHeld. Every other one is appended and filled (see
//     ResponseFilling); an error while filling ends that submission only,
//     its record staying appended with the fields set so far;
//  4. commits the table; SRServerUpdate := now; SRResponseCount and Total :=
//     the record count; when it is above 0, compute_results runs and
//     "Added " + Added + " responses." goes to the history; Completed.
// SRLastUpdate follows the stamp of every submission read, so the next
// request asks only for later ones. Any other error ends the work with
// Completed false, without a message; what was appended is committed, or,
// when the commit fails, SRLastUpdate goes back to its value before the run.
// Last, whatever happened, the survey is saved to its file when it has one
// (a failed save shows its message), always after the table's commit: a
// crash in between leaves the table ahead of the survey, which
// CatchUpLastUpdate repairs.
void Incorporate(TSurvey& survey, const std::string& result_file, TAddResponseResult& result,
                 Prompts& prompts, TResponseTable& table,
                 const ComputeResultsHook& compute_results = {});

// The DATERCVD of the last record holding a 14-digit stamp; empty when
// there is none. Records are appended in the server's stamp order, so this
// is the newest submission the table holds. Requires: the table is open.
std::string NewestStampHeld(Table& table);

// Moves SRLastUpdate forward to the newest stamp the response table holds
// when the survey's value is "Never" or an older stamp, so that a request
// never asks again for submissions already incorporated (after a crash
// between the table's commit and the survey's save, or a reset whose files
// could not be deleted). Opens the table when its file exists and it is not
// open. Throws ETableError when it cannot be opened.
void CatchUpLastUpdate(TSurvey& survey, TResponseTable& table);

}  // namespace quorvant
