// ETableError: every failure of the files (code kIo, thrown by the Env) and
// of the table engine built on them. what() is the message to show, and it
// names the file or expression concerned. code() tells callers what kind of
// failure it was, so that the response table can tell a refused definition
// from a failed write.
#pragma once

#include <stdexcept>
#include <string>

namespace quorvant {

class ETableError : public std::runtime_error {
 public:
  enum class Code {
    kDefinition,  // a field list or tag the format cannot hold
    kIo,          // the operating system refused a read or a write
    kCorrupt,     // a file that is not a table of ours or is damaged
    kLocked,      // another handle kept the table locked too long
    kExpression,  // an expression that does not parse or does not fit the table
    kUsage,       // an operation that the table's state does not allow
  };

  ETableError(Code code, const std::string& message) : std::runtime_error(message), code_(code) {}

  Code code() const { return code_; }

 private:
  Code code_;
};

}  // namespace quorvant
