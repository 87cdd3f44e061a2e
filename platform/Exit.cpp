#include "platform/Exit.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
EndProcessHook g_hook = nullptr;
}

void endProcess(int status) {
  if (g_hook != nullptr) {
    g_hook(status);
    std::abort();  // a hook that returns breaks the promise that the caller never resumes
  }
  std::fflush(nullptr);
  std::exit(status);
}

EndProcessHook setEndProcessHook(EndProcessHook hook) {
  EndProcessHook previous = g_hook;
  g_hook = hook;
  return previous;
}

}  // namespace platform
