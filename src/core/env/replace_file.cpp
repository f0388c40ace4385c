#include "core/env/replace_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <random>

#include "core/env/table_error.h"

namespace quorvant {

std::string SiblingTemporaryPath(const std::string& path, std::string_view tag) {
  static const std::string salt = [] {
    std::random_device device;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx",
                  (static_cast<unsigned long long>(device()) << 32) ^ device());
    return std::string(hex);
  }();
  static std::atomic<uint64_t> writes{0};
  return path + std::string(tag) + std::to_string(::getpid()) + "-" + salt + "-" +
         std::to_string(writes.fetch_add(1));
}

void ReplaceFileContents(Env& env, const std::string& path, std::string_view contents,
                         WriteDurability durability) {
  // A name of its own for every write, so that two threads (or processes)
  // replacing one file each write a whole file and the last rename wins.
  const std::string temp = SiblingTemporaryPath(path, ".tmp");
  struct stat old {};
  const bool replacing = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  const bool flush = durability == WriteDurability::kDurable ||
                     (durability == WriteDurability::kKeepOld && replacing && old.st_size > 0);
  try {
    std::unique_ptr<RandomAccessFile> file = env.Open(temp, FileMode::kCreate);
    // A replaced file keeps its permissions; a new one gets 0666 less umask.
    if (replacing) ::chmod(temp.c_str(), old.st_mode & 07777);
    file->Write(0, contents);
    if (flush) file->Sync();
    file.reset();
    env.Rename(temp, path, durability == WriteDurability::kDurable);
  } catch (...) {
    try {
      env.Remove(temp);
    } catch (const ETableError&) {
      // The write failed already; its error is the one to report.
    }
    throw;
  }
}

}  // namespace quorvant
