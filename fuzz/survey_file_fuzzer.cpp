// Fuzz target: any file loads into a survey or raises the survey error, and a
// loaded survey saves and loads again with the same items.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/shell/atomic_file.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "core/survey/survey_exception.h"
#include "fuzz_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& dir = quorvant::fuzz::ScratchDir();
  const std::string in = dir + "/in.qvx", out = dir + "/out.qvx";
  quorvant::WriteFileAtomically(in, std::string(reinterpret_cast<const char*>(data), size));
  quorvant::SettingsStore settings(dir + "/settings.ini");
  quorvant::TSurvey survey(settings);
  survey.Clear();
  try {
    survey.Load(in);
  } catch (const quorvant::ESurveyException&) {
    return 0;
  }
  ::unlink(out.c_str());
  survey.SaveAs(out);
  quorvant::TSurvey again(settings);
  again.Clear();
  again.Load(out);
  if (again.ItemCount() != survey.ItemCount() ||
      again.Name() != quorvant::fuzz::AsWritten(survey.Name())) {
    __builtin_trap();
  }
  for (int i = 0; i < survey.ItemCount(); ++i) {
    if (again.Item(i).Text != quorvant::fuzz::AsWritten(survey.Item(i).Text) ||
        again.Item(i).ID != survey.Item(i).ID) {
      __builtin_trap();
    }
  }
  return 0;
}
