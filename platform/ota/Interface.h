// The reference-counted base of every object the host and the add-in hand each other,
// and a holder that gives up a reference when it goes out of scope.
#pragma once

#include <utility>

namespace vesk {

// One reference count, 1 at creation: whoever creates an object holds its first
// reference. AddRef takes one more, Release and Free give one up; the object destroys
// itself when the last one goes. Objects live on the heap (Release deletes them).
class TInterface {
public:
    TInterface() = default;
    TInterface(const TInterface&) = delete;
    TInterface& operator=(const TInterface&) = delete;

    // The operations in the host's slot order.
    virtual int AddRef();
    virtual int Release(); // the count left; 0 when the object is gone
    virtual int GetVersion();

    // Gives up one reference; Free(none) does nothing, so a result that may be none is
    // given up without a test.
    void Free() { Release(); }
    static void Free(TInterface* intf) {
        if (intf)
            intf->Release();
    }

    // For hosts that account for the references they handed out.
    int RefCount() const { return FRefCount; }

protected:
    virtual ~TInterface() = default;

private:
    int FRefCount = 1;
};

// The interface version this host speaks.
inline constexpr int InterfaceVersion = 3;

// Holds one reference of T (or none) and gives it up when destroyed, so that no path
// out of a routine, an exception included, keeps a reference it took.
template <typename T>
class TIntfPtr {
public:
    TIntfPtr() = default;
    // Takes over the reference that Intf carries (a host result).
    explicit TIntfPtr(T* intf) : FIntf(intf) {}
    ~TIntfPtr() { TInterface::Free(FIntf); }
    TIntfPtr(TIntfPtr&& other) noexcept : FIntf(std::exchange(other.FIntf, nullptr)) {}
    TIntfPtr& operator=(TIntfPtr&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.FIntf, nullptr));
        return *this;
    }
    TIntfPtr(const TIntfPtr&) = delete;
    TIntfPtr& operator=(const TIntfPtr&) = delete;

    T* Get() const { return FIntf; }
    T* operator->() const { return FIntf; }
    explicit operator bool() const { return FIntf != nullptr; }
    // Gives up the held reference and takes over Intf's.
    void Reset(T* intf = nullptr) {
        T* old = std::exchange(FIntf, intf);
        TInterface::Free(old);
    }
    // Hands the reference on to a caller, who gives it up.
    [[nodiscard]] T* Detach() { return std::exchange(FIntf, nullptr); }

private:
    T* FIntf = nullptr;
};

} // namespace vesk
