// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThreadStacks.h"

#include <dlfcn.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VANTREL_THREADS_OF_THE_CHECKER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VANTREL_THREADS_OF_THE_CHECKER 1
#endif

#if !defined(VANTREL_THREADS_OF_THE_CHECKER)
namespace vantrel {
namespace {

struct ThreadStart {
  void* (*start)(void*);
  void* argument;
};

class AlternateStack {
 public:
  AlternateStack() {
    const long page = sysconf(_SC_PAGESIZE);
    size_ = kAlternateStackSize + static_cast<std::size_t>(page);
    void* area = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) {
      return;
    }
    area_ = static_cast<char*>(area);
    mprotect(area_, static_cast<std::size_t>(page), PROT_NONE);
    stack_t alternate{};
    alternate.ss_sp = area_ + page;
    alternate.ss_size = kAlternateStackSize;
    sigaltstack(&alternate, nullptr);
  }
  ~AlternateStack() {
    if (area_ == nullptr) {
      return;
    }
    stack_t none{};
    none.ss_flags = SS_DISABLE;
    sigaltstack(&none, nullptr);
    munmap(area_, size_);
  }
  AlternateStack(const AlternateStack&) = delete;
  AlternateStack& operator=(const AlternateStack&) = delete;

 private:
  char* area_ = nullptr;
  std::size_t size_ = 0;
};

void* StartWithAlternateStack(void* argument) {
  const ThreadStart start = *static_cast<ThreadStart*>(argument);
  delete static_cast<ThreadStart*>(argument);
  // Also unmapped when the thread ends by pthread_exit or is cancelled: both unwind.
  const AlternateStack stack;
  return start.start(start.argument);
}

using CreateThread = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

}  // namespace
}  // namespace vantrel

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*start)(void*), void* argument) {
  static const auto real =
      reinterpret_cast<vantrel::CreateThread>(dlsym(RTLD_NEXT, "pthread_create"));
  if (real == nullptr) {
    return EAGAIN;
  }
  auto* wrapped = new (std::nothrow) vantrel::ThreadStart{start, argument};
  if (wrapped == nullptr) {
    return real(thread, attributes, start, argument);
  }
  const int result = real(thread, attributes, vantrel::StartWithAlternateStack, wrapped);
  if (result != 0) {
    delete wrapped;
  }
  return result;
}
#endif
