// The search worker hands its results to the user-interface thread through
// Qt's event queue, whose locks ThreadSanitizer cannot see (Qt is not built
// with it). These mark the hand-off on the posted event itself; they do
// nothing in other builds.
#pragma once

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace orvalen {

// Everything the calling thread wrote so far is published with `token`.
inline void HandOff([[maybe_unused]] const void* token) {
#if defined(__SANITIZE_THREAD__)
  __tsan_release(const_cast<void*>(token));
#endif
}

// What was published with `token` is visible to the calling thread.
inline void TakeOver([[maybe_unused]] const void* token) {
#if defined(__SANITIZE_THREAD__)
  __tsan_acquire(const_cast<void*>(token));
#endif
}

}  // namespace orvalen
