#include "core/tableengine/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "core/tableengine/table_error.h"

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

 private:
  int fd_;
};

class PosixFileSystem : public FileSystem {
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
};

}  // namespace

FileSystem& DefaultFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

void ReplaceFileContents(FileSystem& fs, const std::string& path, std::string_view contents,
                         WriteDurability durability) {
  // A name of its own for every write, so that two threads (or processes)
  // replacing one file each write a whole file and the last rename wins; the
  // process's random part keeps anyone else from planting a file or link of
  // that name in a shared folder.
  static const std::string salt = [] {
    std::random_device device;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx",
                  (static_cast<unsigned long long>(device()) << 32) ^ device());
    return std::string(hex);
  }();
  static std::atomic<uint64_t> writes{0};
  const std::string temp = path + ".tmp" + std::to_string(::getpid()) + "-" + salt + "-" +
                           std::to_string(writes.fetch_add(1));
  struct stat old {};
  const bool replacing = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  const bool flush = durability == WriteDurability::kDurable ||
                     (durability == WriteDurability::kKeepOld && replacing && old.st_size > 0);
  try {
    std::unique_ptr<RandomAccessFile> file = fs.Open(temp, FileMode::kCreate);
    // A replaced file keeps its permissions; a new one gets 0666 less umask.
    if (replacing) ::chmod(temp.c_str(), old.st_mode & 07777);
    file->Write(0, contents);
    if (flush) file->Sync();
    file.reset();
    fs.Rename(temp, path, durability == WriteDurability::kDurable);
  } catch (...) {
    try {
      fs.Remove(temp);
    } catch (const ETableError&) {
      // The write failed already; its error is the one to report.
    }
    throw;
  }
}

}  // namespace quorvant
