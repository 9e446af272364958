// ZN_ASSERT(condition): an invariant the code relies on, checked in debug builds only (NDEBUG, as
// Release builds define it, removes the check and never evaluates the condition). A broken one is a
// bug of ours, not bad input (which has its own checks and messages): it says where and aborts.
#pragma once

namespace zn {
[[noreturn]] void AssertFailed(const char* condition, const char* file, int line);
}  // namespace zn

#ifdef NDEBUG
#define ZN_ASSERT(condition) static_cast<void>(sizeof(condition))
#else
#define ZN_ASSERT(condition) \
  ((condition) ? static_cast<void>(0) : ::zn::AssertFailed(#condition, __FILE__, __LINE__))
#endif
