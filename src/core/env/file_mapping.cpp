#include "core/env/file_mapping.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace quorvant {
namespace {

// The ranges the handler repairs. The handler reads them without a lock,
// so each is published through atomics: end before begin on the way in,
// begin cleared first on the way out.
struct Range {
  std::atomic<uintptr_t> begin{0};
  std::atomic<uintptr_t> end{0};
  std::atomic<bool> shortened{false};
};

constexpr int kRanges = 64;
Range g_ranges[kRanges];
bool g_taken[kRanges];  // guarded by g_taken_mutex; the handler never looks
std::mutex g_taken_mutex;

struct sigaction g_previous;
uintptr_t g_page_mask = 0;
bool g_installed = false;
std::once_flag g_install_once;

void PassOn(int signal, siginfo_t* info, void* context) {
  if ((g_previous.sa_flags & SA_SIGINFO) != 0 && g_previous.sa_sigaction != nullptr) {
    g_previous.sa_sigaction(signal, info, context);
    return;
  }
  if ((g_previous.sa_flags & SA_SIGINFO) == 0 && g_previous.sa_handler != SIG_DFL &&
      g_previous.sa_handler != SIG_IGN) {
    g_previous.sa_handler(signal);
    return;
  }
  // The default action: restored, the faulting access faults again and
  // ends the process as it would have without us.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(SIGBUS, &fallback, nullptr);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto at = reinterpret_cast<uintptr_t>(info->si_addr);
  for (Range& range : g_ranges) {
    const uintptr_t begin = range.begin.load(std::memory_order_acquire);
    if (begin == 0 || at < begin) continue;
    const uintptr_t end = range.end.load(std::memory_order_acquire);
    if (at >= end) continue;
    // Zero pages from the fault to the end of the mapping, so that the
    // reader runs on to the end of its pass and finds out there. mmap is a
    // bare system call on Linux, safe inside a handler.
    const uintptr_t page = at & g_page_mask;
    void* zeros = mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zeros == MAP_FAILED) break;
    range.shortened.store(true, std::memory_order_release);
    return;
  }
  PassOn(signal, info, context);
}

void Install() {
  g_page_mask = ~(static_cast<uintptr_t>(sysconf(_SC_PAGESIZE)) - 1);
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  g_installed = sigaction(SIGBUS, &action, &g_previous) == 0;
}

int TakeRange() {
  std::lock_guard<std::mutex> lock(g_taken_mutex);
  for (int i = 0; i < kRanges; ++i) {
    if (!g_taken[i]) {
      g_taken[i] = true;
      return i;
    }
  }
  return -1;
}

void ReleaseRange(int i) {
  std::lock_guard<std::mutex> lock(g_taken_mutex);
  g_taken[i] = false;
}

}  // namespace

std::unique_ptr<FileMapping> FileMapping::Map(int fd, uint64_t length) {
  if (length == 0 || length > SIZE_MAX / 2) return nullptr;
  std::call_once(g_install_once, Install);
  if (!g_installed) return nullptr;
  const int slot = TakeRange();
  if (slot < 0) return nullptr;
  void* data = mmap(nullptr, static_cast<size_t>(length), PROT_READ, MAP_SHARED, fd, 0);
  if (data == MAP_FAILED) {
    ReleaseRange(slot);
    return nullptr;
  }
  Range& range = g_ranges[slot];
  const auto begin = reinterpret_cast<uintptr_t>(data);
  range.shortened.store(false, std::memory_order_relaxed);
  range.end.store(begin + static_cast<size_t>(length), std::memory_order_release);
  range.begin.store(begin, std::memory_order_release);
  return std::unique_ptr<FileMapping>(
      new FileMapping(static_cast<const char*>(data), static_cast<size_t>(length), slot));
}

FileMapping::~FileMapping() {
  g_ranges[slot_].begin.store(0, std::memory_order_release);
  g_ranges[slot_].end.store(0, std::memory_order_release);
  munmap(const_cast<char*>(data_), size_);
  ReleaseRange(slot_);
}

bool FileMapping::Shortened() const {
  return g_ranges[slot_].shortened.load(std::memory_order_acquire);
}

}  // namespace quorvant
