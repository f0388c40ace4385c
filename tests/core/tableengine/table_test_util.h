// Helpers shared by the table engine's tests.
#pragma once

#include <string>
#include <vector>

#include "core/env/table_error.h"
#include "core/shell/text_helpers.h"
#include "core/tableengine/table.h"

namespace quorvant::testing {

// The visible records from the top in the current order, one line each:
// "recno:" then the fields without surrounding blanks, joined by "|",
// and "*" after the record number for deleted records.
inline std::string Dump(Table& table) {
  std::string out;
  for (table.GoTop(); !table.Eof(); table.Skip()) {
    out += std::to_string(table.RecNo()) + (table.Deleted() ? "*" : "") + ":";
    bool first = true;
    for (const FieldDef& f : table.Fields()) {
      if (!first) out += "|";
      first = false;
      out += TrimBlanks(table.Get(f.name));
    }
    out += "\n";
  }
  return out;
}

// The message of the ETableError that f throws, prefixed with its code as a
// number; "no error" when it throws none.
template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const ETableError& e) {
    return std::to_string(static_cast<int>(e.code())) + ": " + e.what();
  }
  return "no error";
}

// A table of people: NAME C 20, AGE N 5, NOTE M, with tags NAME (key NAME)
// and LIVE (key NAME, only undeleted records). Records as given, "name/age".
inline void MakePeople(const std::string& path, const std::vector<std::string>& people) {
  Table::Create(path, {{"NAME", 'C', 20}, {"AGE", 'N', 5}, {"NOTE", 'M', 10}});
  Table t;
  t.Open(path);
  for (const std::string& p : people) {
    const size_t slash = p.find('/');
    t.Append({{"NAME", p.substr(0, slash)},
              {"AGE", slash == std::string::npos ? "" : p.substr(slash + 1)}});
  }
  t.Commit();
  t.AddTag("NAME", "NAME");
  t.AddTag("LIVE", "NAME", ".NOT. DELETED()");
  t.Close();
}

}  // namespace quorvant::testing
