// Whole-file replacement through an Env: the step under every writer that
// replaces a file (survey files, settings, libraries, report pages).
//
// Thread-safety: concurrent replacements of one path each write a whole file
// of their own; the last rename wins.
#pragma once

#include <string>
#include <string_view>

#include "core/env/env.h"

namespace quorvant {

// How far a whole-file replacement goes to survive a crash of the machine.
// Every kind replaces the file atomically: a reader sees the old file or the
// new one, never a mixture.
enum class WriteDurability {
  // On disk before the call returns: the author's documents and settings.
  kDurable,
  // Flushed only when it replaces a file that has content, so that a crash
  // cannot leave an empty file where that one was; a new file may be lost
  // to a crash. For files made from another file that stays (an import).
  kKeepOld,
  // Never flushed: files made again at will from data kept elsewhere
  // (report pages, chart images).
  kRegenerable,
};

// A fresh name beside path for a temporary file: path + tag + the process id,
// a random part fixed per process and a counter, so that concurrent writers
// never share one and nobody else can guess it to plant a file or link of
// that name in a shared folder.
std::string SiblingTemporaryPath(const std::string& path, std::string_view tag);

// Writes contents to a sibling temporary file and renames it over path, so
// that readers see either the old file or the new one, with the flushes
// that durability asks for. Throws ETableError (kIo) when a step fails; the
// temporary file is removed and the old file left as it was.
void ReplaceFileContents(Env& env, const std::string& path, std::string_view contents,
                         WriteDurability durability = WriteDurability::kDurable);

}  // namespace quorvant
