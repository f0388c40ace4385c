// DefaultEnv(): the operating system's files, through POSIX calls, and its clock.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <mutex>

#include "core/env/env.h"
#include "core/env/table_error.h"

namespace quorvant {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw ETableError(ETableError::Code::kIo,
                    "Cannot " + what + " " + path + ": " + std::strerror(errno));
}

FileStamp StampOf(const struct stat& st) {
  FileStamp stamp;
  stamp.inode = st.st_ino;
  stamp.size = static_cast<uint64_t>(st.st_size);
  stamp.mtime_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return stamp;
}

class PosixFile : public RandomAccessFile {
 public:
  PosixFile(std::string path, int fd) : RandomAccessFile(std::move(path)), fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }

  size_t Read(uint64_t offset, char* buffer, size_t n) override {
    size_t done = 0;
    while (done < n) {
      const ssize_t got = ::pread(fd_, buffer + done, n - done, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) Fail("read", path());
      if (got == 0) break;
      done += static_cast<size_t>(got);
    }
    return done;
  }

  void Write(uint64_t offset, std::string_view data) override {
    size_t done = 0;
    while (done < data.size()) {
      const ssize_t put =
          ::pwrite(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) Fail("write", path());
      done += static_cast<size_t>(put);
    }
  }

  uint64_t Size() override { return Stamp().size; }

  void Truncate(uint64_t size) override {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) Fail("truncate", path());
  }

  void Sync() override {
    if (::fdatasync(fd_) != 0) Fail("flush", path());
  }

  FileStamp Stamp() override {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) Fail("examine", path());
    return StampOf(st);
  }

  bool TryLock(uint64_t offset, uint64_t length, bool exclusive) override {
    struct flock lock {};
    lock.l_type = static_cast<short>(exclusive ? F_WRLCK : F_RDLCK);
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(offset);
    lock.l_len = static_cast<off_t>(length);
    if (::fcntl(fd_, F_OFD_SETLK, &lock) == 0) return true;
    if (errno == EAGAIN || errno == EACCES || errno == EINTR) return false;
    Fail("lock", path());
  }

  void Unlock(uint64_t offset, uint64_t length) override {
    struct flock lock {};
    lock.l_type = F_UNLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(offset);
    lock.l_len = static_cast<off_t>(length);
    ::fcntl(fd_, F_OFD_SETLK, &lock);
  }

  std::unique_ptr<FileMapping> Map(uint64_t length) override {
    return FileMapping::Map(fd_, length);
  }

 private:
  int fd_;
};

class PosixEnv : public Env {
 public:
  std::unique_ptr<RandomAccessFile> Open(const std::string& path, FileMode mode) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case FileMode::kRead:
        flags |= O_RDONLY;
        break;
      case FileMode::kReadWrite:
        flags |= O_RDWR;
        break;
      case FileMode::kCreate:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
    }
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) Fail(mode == FileMode::kCreate ? "create" : "open", path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      errno = EISDIR;
      Fail("open", path);
    }
    return std::make_unique<PosixFile>(path, fd);
  }

  bool Exists(const std::string& path) override { return Stat(path).has_value(); }

  std::optional<FileStamp> Stat(const std::string& path) override {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
      return std::nullopt;
    }
    return StampOf(st);
  }

  void Remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) Fail("remove", path);
  }

  void Rename(const std::string& from, const std::string& to, bool durable) override {
    if (::rename(from.c_str(), to.c_str()) != 0) Fail("replace", to);
    if (!durable) return;
    const size_t slash = to.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : to.substr(0, slash + 1);
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
      ::fsync(dfd);
      ::close(dfd);
    }
  }

  TDateTime Now() override {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(now);
    const int ms =
        static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    // Every edit stamps the survey, and an import makes thousands of edits
    // within a second: the local time of a second is worked out once.
    std::tm local{};
    {
      std::lock_guard<std::mutex> lock(clock_mutex_);
      if (secs != cached_secs_) {
        localtime_r(&secs, &cached_local_);
        cached_secs_ = secs;
      }
      local = cached_local_;
    }
    DateTimeParts p{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,  local.tm_hour,
                    local.tm_min,         local.tm_sec,     ms < 0 ? 0 : ms};
    if (p.second > 59) p.second = 59;  // leap second
    return EncodeDateTime(p).value_or(0.0);
  }

 private:
  std::mutex clock_mutex_;
  std::time_t cached_secs_ = -1;
  std::tm cached_local_{};
};

}  // namespace

Env& DefaultEnv() {
  static PosixEnv env;
  return env;
}

}  // namespace quorvant
