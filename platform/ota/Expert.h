// Experts: the add-ins the host loads. A package hands each expert it makes to
// RegisterLibraryExpert; from then on the host owns it and releases it when it
// unloads the package or ends.
#pragma once

#include "platform/ota/Interface.h"

#include <cstdint>
#include <string>

namespace vesk {

enum class TExpertStyle { esStandard, esForm, esProject, esAddIn };

using TExpertState = unsigned;
inline constexpr TExpertState esEnabled = 1u << 0;
inline constexpr TExpertState esChecked = 1u << 1;

using HICON = std::uintptr_t; // 0: no icon

// The expert interface; its operations follow TInterface's in this slot order.
class TIExpert : public TInterface {
public:
    virtual std::string GetName() = 0;
    virtual std::string GetAuthor() = 0;
    virtual std::string GetComment() = 0;
    virtual std::string GetPage() = 0;
    virtual HICON GetGlyph() = 0;
    virtual TExpertStyle GetStyle() = 0;
    virtual TExpertState GetState() = 0;
    virtual std::string GetIDString() = 0;
    virtual std::string GetMenuText() = 0;
    virtual void Execute() = 0;
};

// What a host does with the experts registered with it.
class TExpertHost {
public:
    virtual ~TExpertHost() = default;
    // Takes over Expert's reference.
    virtual void RegisterExpert(TIExpert* expert) = 0;
};

// The host that takes registered experts, or none. Set by the host before it loads
// packages.
void SetExpertHost(TExpertHost* host);
TExpertHost* ExpertHost();

// Hands Expert (and its reference) to the host. Without a host nobody can use it: it is
// released at once and false is returned.
bool RegisterLibraryExpert(TIExpert* expert);

} // namespace vesk
