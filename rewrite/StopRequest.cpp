#include "StopRequest.h"

#include <atomic>

namespace kelbrin {
namespace {

// Lock-free, so that a signal handler may set it.
std::atomic<int> requested = 0;
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

void RequestStop(int signalNumber) { requested.store(signalNumber, std::memory_order_relaxed); }

int StopRequested() { return requested.load(std::memory_order_relaxed); }

void ClearStopRequest() { requested.store(0, std::memory_order_relaxed); }

}  // namespace kelbrin
