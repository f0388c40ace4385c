// TResponseTable: the one open response table of the open survey (the main
// window's table component). It owns the table handle and the order numbers
// of the tags REMOTEIP and EMAIL, which live only while the table is open.
//
// Ownership: owns its Table; the Prompts given at construction must outlive
// it. Thread-safety: none; it belongs to the window that shows the survey.
#pragma once

#include <optional>
#include <string>

#include "core/tableengine/table.h"

namespace quorvant {

class Prompts;
class TSurvey;

class TResponseTable {
 public:
  explicit TResponseTable(Prompts& prompts, Table::Options options = {});

  bool IsOpen() const { return table_.IsOpen(); }
  Table& table() { return table_; }
  int EmailOrder() const { return email_order_; }
  int RemoteIPOrder() const { return remote_ip_order_; }

  // Opens the table at SRResponseFile shared, makes the two tags again when
  // its index file is missing (a copy made without it), keeps their order
  // numbers and selects the EMAIL order. Throws ETableError.
  void Open(const TSurvey& survey);

  // Computes the path afresh, stores it in SRResponseFile, creates the
  // table with the survey's fields, opens it and adds the two tags. When the
  // engine refuses the definition or the file: the error box "Could not
  // create the database " + path, SRResponseFile emptied, false. When the
  // files cannot be completed: "Failed database creation: " + path, the
  // table not opened, false.
  bool Create(TSurvey& survey);

  // Creates the table when no file exists at SRResponseFile (empty counts
  // as none), else opens it. False when creation failed (its box shown);
  // errors while opening are thrown.
  bool Ensure(TSurvey& survey);

  void Close();

 private:
  void TakeOrders();

  Prompts& prompts_;
  Table::Options options_;
  Table table_;
  int email_order_ = 0;
  int remote_ip_order_ = 0;
};

// Reset Local Responses: asks first; on Yes sets SRLastUpdate to "Never"
// and SRResponseCount to 0, empties the results list, closes the table,
// deletes its .dbf, .cdx and .fpt (missing files and files that cannot be
// deleted are skipped) and adds "Response file reset" to the history.
// False when the author said No.
bool ResetLocalResponses(TSurvey& survey, TResponseTable& table, Prompts& prompts);

// For the survey load path: when SRResponseFile names an existing file,
// opens it and returns its record count, which the loader stores in
// SRResponseCount before computing the results; nullopt when there is no
// table. Throws ETableError when the table cannot be opened.
std::optional<int> OpenResponseTableOnLoad(const TSurvey& survey, TResponseTable& table);

// The survey load hook: OpenResponseTableOnLoad, then the count (0 when
// there is no table) goes to SRResponseCount as loaded data (the survey
// does not become modified). False when the survey has no table. Throws ETableError.
bool OpenResponsesOfLoadedSurvey(TSurvey& survey, TResponseTable& table);

}  // namespace quorvant
