#include "platform/ota/ToolServices.h"

#include "platform/forms/Component.h"
#include "platform/rtl/SysUtils.h"

namespace vesk {

TIToolServices* ToolServices = nullptr;

bool ComponentPropValueByName(const TComponent& component, const std::string& name,
                              std::string& value) {
    if (SameText(name, "Name")) {
        value = component.Name();
        return true;
    }
    const TProperty* prop = component.FindProperty(name);
    if (!prop)
        return false;
    switch (prop->Value.Kind) {
    case TValueKind::Integer:
        value = IntToStr(prop->Value.Int);
        return true;
    case TValueKind::String:
    case TValueKind::Ident:
        value = prop->Value.Text;
        return true;
    default:
        return false;
    }
}

} // namespace vesk
