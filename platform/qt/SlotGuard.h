// The guard every call from Qt into the core runs behind: a slot, an event handler, a
// menu pick. An exception the handler raises is shown in the host's error box (through
// HostServices(); the headless host records it) and goes no further, so a fault in a
// tool never unwinds through Qt's event loop and the host keeps running.
#pragma once

#include "platform/ota/HostServices.h"

#include <concepts>
#include <functional>
#include <utility>

namespace vesk {

// Runs Handler now behind the guard; false when it raised an exception.
template <typename Handler>
bool Guarded(Handler&& handler) noexcept {
    return RunHandler(std::function<void()>(std::ref(handler)));
}

// A slot that runs Handler behind the guard with as many of the signal's arguments as
// Handler takes (Qt tries the longest list first).
template <typename Handler>
class TGuardedSlot {
public:
    explicit TGuardedSlot(Handler handler) : FHandler(std::move(handler)) {}
    template <typename... Args>
    requires std::invocable<Handler&, Args...>
    void operator()(Args&&... args) {
        Guarded([&] { FHandler(std::forward<Args>(args)...); });
    }

private:
    Handler FHandler;
};

// For QObject::connect: connect(button, &QPushButton::clicked, this,
// GuardedSlot([this] { ... })).
template <typename Handler>
TGuardedSlot<Handler> GuardedSlot(Handler handler) {
    return TGuardedSlot<Handler>(std::move(handler));
}

} // namespace vesk
