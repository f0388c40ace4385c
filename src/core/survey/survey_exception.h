// The error of survey file operations; what() is the message shown to the
// person, exactly as the operation built it.
#pragma once

#include <stdexcept>

namespace quorvant {

class ESurveyException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quorvant
