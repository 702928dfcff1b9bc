// Qt paints large areas on worker threads of its own pool and ends them when the
// application object goes. A thread told to end may still be tearing down its thread
// data when main returns, and the leak check run at exit then reports that data as
// lost. Programs wait for those threads after their application object is gone.
#pragma once

#include <chrono>

namespace vesk {

// Waits until the process runs no thread but the calling one, or Timeout passed; true
// when only the caller is left.
bool WaitForOtherThreadsToEnd(std::chrono::milliseconds timeout = std::chrono::seconds(2));

} // namespace vesk
