// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrameWalker.h"

namespace vantrel {

std::uintptr_t ContextPc(const ucontext_t* context) {
#if defined(__x86_64__)
  return context != nullptr ? static_cast<std::uintptr_t>(context->uc_mcontext.gregs[REG_RIP]) : 0;
#else
  (void)context;
  return 0;
#endif
}

int WalkFrames(const ucontext_t* context, const ProcMaps& maps, const MemoryReader& memory,
               std::uintptr_t* frames, int max) {
  int depth = 0;
#if defined(__x86_64__)
  if (context == nullptr || max <= 0) {
    return 0;
  }
  const greg_t* g = context->uc_mcontext.gregs;
  const auto pc = static_cast<std::uintptr_t>(g[REG_RIP]);
  const auto sp = static_cast<std::uintptr_t>(g[REG_RSP]);
  frames[depth++] = pc;
  if (!maps.IsCode(pc) && depth < max) {
    std::uintptr_t top = 0;
    if (memory.Read(sp, &top, sizeof top) && top != 0) {
      frames[depth++] = top;
    }
  }
  std::uintptr_t fp = static_cast<std::uintptr_t>(g[REG_RBP]);
  while (depth < max && fp != 0 && fp % sizeof(void*) == 0) {
    std::uintptr_t pair[2];  // the caller's frame pointer, the return address
    if (!memory.Read(fp, pair, sizeof pair) || pair[1] == 0 || !maps.IsCode(pair[1])) {
      break;
    }
    frames[depth++] = pair[1];
    if (pair[0] <= fp || pair[0] - fp > 16 * 1024 * 1024) {
      break;
    }
    fp = pair[0];
  }
#else
  (void)context;
  (void)maps;
  (void)memory;
  (void)frames;
  (void)max;
#endif
  return depth;
}

bool SaneState(const ucontext_t* context, const ProcMaps& maps, const MemoryReader& memory) {
#if defined(__x86_64__)
  if (context == nullptr) {
    return false;
  }
  std::uintptr_t top = 0;
  return maps.IsCode(ContextPc(context)) &&
         memory.Read(static_cast<std::uintptr_t>(context->uc_mcontext.gregs[REG_RSP]), &top,
                     sizeof top);
#else
  (void)context;
  (void)maps;
  (void)memory;
  return true;
#endif
}

}  // namespace vantrel
