#include "platform/qt/WorkerThreads.h"

#include <filesystem>
#include <system_error>
#include <thread>

namespace vesk {

namespace {

// The threads of this process, as the kernel lists them; 0 when it cannot tell.
int ThreadCount() {
    std::error_code error;
    int count = 0;
    for (std::filesystem::directory_iterator it("/proc/self/task", error), end; !error && it != end;
         it.increment(error))
        ++count;
    return error ? 0 : count;
}

} // namespace

bool WaitForOtherThreadsToEnd(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const int count = ThreadCount();
        if (count <= 1)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

} // namespace vesk
