// Fuzz target: any reply incorporates without a crash into a fresh response
// table of a survey with every answer kind and both duplicate rules; every
// data line is either appended or eliminated, the table holds exactly what
// was appended and reads back, and incorporating the same reply again adds
// nothing.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/responses/incorporation.h"
#include "core/responses/response_table.h"
#include "core/responses/result_reply.h"
#include "core/shell/atomic_file.h"
#include "core/shell/quiet_prompts.h"
#include "core/shell/settings_store.h"
#include "core/survey/survey.h"
#include "core/tableengine/table.h"
#include "fuzz_helpers.h"

namespace {

using namespace quorvant;

void AddQuestions(TSurvey& survey) {
  survey.AddItem("One?", kStyleSingleChoice, 0, 10, 1, true, 0, "a,b,c");
  survey.AddItem("Many?", kStyleMultipleChoice, 0, 10, 1, true, 0, "a,b,c");
  survey.AddItem("Say", kStyleText, 0, 10, 1, false, 40, "");
  survey.AddItem("Count", kStyleNumeric, 1, 99, 1, false, 0, "");
  survey.AddItem("Pick", kStylePulldown, 0, 10, 1, false, 0, "x,y");
  survey.AddItem("Rate", kStyleSlidingScale, 0, 10, 1, false, 0, "low,high");
}

// The data lines before the end marker.
int DataLines(const std::string& path) {
  ReplyLineReader reader(path);
  std::string line;
  if (!reader.Next(line) || line.find("<ERROR>") != std::string::npos) return 0;
  int lines = 0;
  while (reader.Next(line) && !IsEndOfData(line)) ++lines;
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(fuzz::ScratchDir()) / "reply";
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::string reply(reinterpret_cast<const char*>(data), size);
  // Most inputs should reach the submission lines.
  if (!reply.starts_with("<")) reply = "<DATA>\r\n" + reply;
  const std::string reply_path = (dir / "reply.dat").string();
  WriteFileAtomically(reply_path, reply);

  SettingsStore settings((dir / "settings.ini").string());
  TSurvey survey(settings);
  AddQuestions(survey);
  survey.SetUniqueName("FUZZ");
  survey.SetOnly1IP(true);
  survey.SetOnly1Email(true);
  survey.SetFileName((dir / "fuzz.qvx").string());
  QuietPrompts prompts;
  TResponseTable table(prompts);
  TAddResponseResult first;
  Incorporate(survey, reply_path, first, prompts, table);
  if (!first.Completed || first.Added + first.Eliminated != DataLines(reply_path) ||
      first.AlreadyHeld != 0 || table.table().RecCount() != static_cast<uint32_t>(first.Added)) {
    __builtin_trap();
  }
  Table& t = table.table();
  for (uint32_t recno = 1; recno <= t.RecCount(); ++recno) {
    t.GoTo(recno);
    for (const FieldDef& f : t.Fields()) t.Get(f.name);
  }
  TAddResponseResult again;
  Incorporate(survey, reply_path, again, prompts, table);
  if (!again.Completed || again.Added != 0) __builtin_trap();
  table.Close();
  return 0;
}
