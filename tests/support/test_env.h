// Test fixture helpers: a fresh temporary folder per test, a settings store
// inside it, and a fixed clock for the test's duration.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/shell/date_time.h"
#include "core/shell/settings_store.h"
#include "support/fixed_clock_env.h"

namespace quorvant::testing {

// A temporary folder removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }  // without trailing "/"
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Base fixture: temp folder, settings store in it, and an env whose clock
// stands at 3 December 1998 14:15:02 until a test moves it with SetTime().
// Surveys made with settings_ take their clock and files from env_.
class CoreTest : public ::testing::Test {
 protected:
  CoreTest();

  void SetTime(const DateTimeParts& parts);
  TDateTime time() { return env_.Now(); }

  TempDir dir_;
  FixedClockEnv env_;
  SettingsStore settings_;
};

std::string ReadFileOrDie(const std::string& path);
void WriteFileOrDie(const std::string& path, const std::string& contents);

}  // namespace quorvant::testing
