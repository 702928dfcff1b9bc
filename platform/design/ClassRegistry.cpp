#include "platform/design/ClassRegistry.h"

#include "platform/graphics/Graphics.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace vesk {

void RegisterHostClasses(TClassRegistry& registry); // HostClasses.cpp

// ---- TPropInfo

bool TPropInfo::RefersToComponent() const {
    if (Kind != TTypeKind::tkClass)
        return false;
    const TClassInfo* type = TClassRegistry::Instance().Find(TypeName);
    // A class nobody registered is taken for a component: sub-objects are all known.
    return !type || type->InheritsFrom("TComponent");
}

// ---- TClassInfo

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, bool acceptsControls)
    : FName(std::move(name)), FParent(parent),
      FAcceptsControls(acceptsControls || (parent && parent->FAcceptsControls)) {}

bool TClassInfo::InheritsFrom(std::string_view className) const {
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (SameText(c->FName, className))
            return true;
    return false;
}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
    return Distance(other) >= 0;
}

int TClassInfo::Distance(const TClassInfo* other) const {
    int steps = 0;
    for (const TClassInfo* c = this; c; c = c->FParent, ++steps)
        if (c == other)
            return steps;
    return -1;
}

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
    if (const std::size_t dot = name.find('.'); dot != std::string_view::npos) {
        const TPropInfo* owner = FindProp(name.substr(0, dot));
        if (!owner || owner->Kind != TTypeKind::tkClass || owner->RefersToComponent())
            return nullptr;
        const TClassInfo* type = TClassRegistry::Instance().Find(owner->TypeName);
        return type ? type->FindProp(name.substr(dot + 1)) : nullptr;
    }
    for (const TClassInfo* c = this; c; c = c->FParent)
        for (const TPropInfo& p : c->FProps)
            if (SameText(p.Name, name))
                return &p;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->FParent)
        chain.push_back(c);
    std::vector<const TPropInfo*> props;
    for (auto c = chain.rbegin(); c != chain.rend(); ++c)
        for (const TPropInfo& p : (*c)->FProps) {
            // A property published again takes the base's place with its new description.
            auto same = std::find_if(props.begin(), props.end(),
                                     [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
            if (same != props.end())
                *same = &p;
            else
                props.push_back(&p);
        }
    return props;
}

TClassInfo& TClassInfo::Add(TPropInfo prop) {
    for (TPropInfo& own : FProps)
        if (SameText(own.Name, prop.Name)) {
            own = std::move(prop);
            return *this;
        }
    FProps.push_back(std::move(prop));
    return *this;
}

// ---- property descriptions

namespace {

TPropInfo MakeProp(std::string name, TTypeKind kind, std::string typeName,
                   std::vector<std::string> names = {}) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.TypeName = std::move(typeName);
    p.Names = std::move(names);
    return p;
}

} // namespace

TPropInfo IntProp(std::string name, std::optional<std::int64_t> defaultValue, std::int64_t min,
                  std::int64_t max, std::string typeName) {
    TPropInfo p = MakeProp(std::move(name), TTypeKind::tkInteger, std::move(typeName));
    if (defaultValue)
        p.Default = TValue::Integer(*defaultValue);
    p.MinValue = min;
    p.MaxValue = max;
    return p;
}

TPropInfo StrProp(std::string name, std::string typeName) {
    return MakeProp(std::move(name), TTypeKind::tkString, std::move(typeName));
}

TPropInfo BoolProp(std::string name, std::optional<bool> defaultValue) {
    std::optional<std::string> text;
    if (defaultValue)
        text = *defaultValue ? "True" : "False";
    return EnumProp(std::move(name), "Boolean", {"False", "True"}, text);
}

TPropInfo EnumProp(std::string name, std::string typeName, std::vector<std::string> names,
                   std::optional<std::string> defaultValue) {
    TPropInfo p =
        MakeProp(std::move(name), TTypeKind::tkEnumeration, std::move(typeName), std::move(names));
    if (defaultValue)
        p.Default = TValue::Ident(*defaultValue);
    p.MinValue = 0;
    p.MaxValue = static_cast<std::int64_t>(p.Names.size()) - 1;
    return p;
}

TPropInfo SetProp(std::string name, std::string typeName, std::vector<std::string> names,
                  std::optional<std::vector<std::string>> defaultValue) {
    TPropInfo p =
        MakeProp(std::move(name), TTypeKind::tkSet, std::move(typeName), std::move(names));
    if (defaultValue) {
        TValue set;
        set.Kind = TValueKind::Set;
        set.Set = *defaultValue;
        p.Default = set;
    }
    return p;
}

TPropInfo ColorProp(std::string name, std::optional<std::string> defaultValue) {
    TPropInfo p = MakeProp(std::move(name), TTypeKind::tkInteger, "TColor");
    if (defaultValue)
        p.Default = TValue::Ident(*defaultValue);
    return p;
}

TPropInfo ClassProp(std::string name, std::string className) {
    return MakeProp(std::move(name), TTypeKind::tkClass, std::move(className));
}

TPropInfo EventProp(std::string name, std::string typeName) {
    return MakeProp(std::move(name), TTypeKind::tkMethod, std::move(typeName));
}

const std::vector<std::string>& AlignNames() {
    static const std::vector<std::string> names{"alNone", "alTop",   "alBottom",
                                                "alLeft", "alRight", "alClient"};
    return names;
}

const std::vector<std::string>& AlignmentNames() {
    static const std::vector<std::string> names{"taLeftJustify", "taRightJustify", "taCenter"};
    return names;
}

const std::vector<std::string>& CursorNames() {
    static const std::vector<std::string> names{
        "crDefault",  "crNone",     "crArrow",    "crCross",     "crIBeam",     "crSizeNESW",
        "crSizeNS",   "crSizeNWSE", "crSizeWE",   "crUpArrow",   "crHourGlass", "crDrag",
        "crNoDrop",   "crHSplit",   "crVSplit",   "crMultiDrag", "crSQLWait",   "crNo",
        "crAppStart", "crHelp",     "crHandPoint"};
    return names;
}

const std::vector<std::string>& FontStyleNames() {
    static const std::vector<std::string> names{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    return names;
}

// ---- the registry

struct TClassRegistry::TImpl {
    // Every description ever made; unregistered ones stay, unlisted.
    std::vector<std::unique_ptr<TClassInfo>> All;
    std::vector<TClassInfo*> Listed;
    std::map<std::string, TClassInfo*> ByName; // upper-case names
};

TClassRegistry::TClassRegistry() : FImpl(std::make_shared<TImpl>()) {}

TClassRegistry& TClassRegistry::Instance() {
    static TClassRegistry* registry = [] {
        auto* made = new TClassRegistry; // lives as long as the process
        RegisterHostClasses(*made);
        return made;
    }();
    return *registry;
}

TClassInfo& TClassRegistry::Register(const std::string& name, const std::string& parentName,
                                     bool acceptsControls) {
    if (name.empty())
        throw EClassError("A class needs a name");
    if (TClassInfo* existing = const_cast<TClassInfo*>(Find(name)))
        return *existing;
    const TClassInfo* parent = nullptr;
    if (!parentName.empty()) {
        parent = Find(parentName);
        if (!parent)
            throw EClassError("Class " + parentName + " not found (the base of " + name + ")");
    }
    auto info = std::make_unique<TClassInfo>(name, parent, acceptsControls);
    info->FPackage = FCurrentPackage;
    TClassInfo* raw = info.get();
    FImpl->All.push_back(std::move(info));
    FImpl->Listed.push_back(raw);
    FImpl->ByName[UpperCase(name)] = raw;
    ++FGeneration;
    return *raw;
}

const TClassInfo* TClassRegistry::Find(std::string_view name) const {
    const auto found = FImpl->ByName.find(UpperCase(name));
    return found == FImpl->ByName.end() ? nullptr : found->second;
}

std::vector<const TClassInfo*> TClassRegistry::Classes() const {
    return {FImpl->Listed.begin(), FImpl->Listed.end()};
}

void TClassRegistry::UnregisterPackage(std::string_view name) {
    if (name.empty())
        return; // the host's own classes stay
    std::erase_if(FImpl->Listed, [&](TClassInfo* c) {
        if (!SameText(c->FPackage, name))
            return false;
        FImpl->ByName.erase(UpperCase(c->FName));
        ++FGeneration;
        return true;
    });
}

TPackageScope::TPackageScope(std::string name)
    : FPrevious(TClassRegistry::Instance().CurrentPackage()) {
    TClassRegistry::Instance().SetCurrentPackage(std::move(name));
}

TPackageScope::~TPackageScope() {
    TClassRegistry::Instance().SetCurrentPackage(std::move(FPrevious));
}

namespace {

std::vector<std::pair<int, std::function<void(std::string_view)>>>& Listeners() {
    static std::vector<std::pair<int, std::function<void(std::string_view)>>> listeners;
    return listeners;
}

} // namespace

int AddUnregisterListener(std::function<void(std::string_view)> listener) {
    static int next = 0;
    Listeners().emplace_back(++next, std::move(listener));
    return next;
}

void UnregisterPackage(std::string_view name) {
    // What refers to classes (palette entries, editors) goes before the classes.
    for (const auto& [id, listener] : Listeners())
        listener(name);
    TClassRegistry::Instance().UnregisterPackage(name);
}

// ---- values

namespace {

int IndexOfName(const std::vector<std::string>& names, std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name))
            return static_cast<int>(i);
    return -1;
}

bool IsName(std::string_view text) {
    auto alpha = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (text.empty() || !alpha(text[0]))
        return false;
    // A reference may name a component of another form: Form2.Table1.
    return std::all_of(text.begin(), text.end(),
                       [&](char c) { return alpha(c) || (c >= '0' && c <= '9') || c == '.'; });
}

std::string Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return std::string(text);
}

} // namespace

TValue ValueFromText(const TPropInfo& prop, std::string_view text) {
    switch (prop.Kind) {
    case TTypeKind::tkInteger: {
        if (prop.IsColor()) {
            const TColor color = StringToColor(text); // raises EConvertError
            const std::string name = ColorToString(color);
            return name.starts_with("cl") ? TValue::Ident(name)
                                          : TValue::Integer(static_cast<std::int32_t>(color));
        }
        const std::int64_t value = StrToInt(text);
        if (value < prop.MinValue || value > prop.MaxValue)
            throw ERangeError(prop.Name + " must be from " + IntToStr(prop.MinValue) + " to " +
                              IntToStr(prop.MaxValue) + ", not " + IntToStr(value));
        return TValue::Integer(value);
    }
    case TTypeKind::tkEnumeration: {
        const int index = IndexOfName(prop.Names, text);
        if (index < 0)
            throw EConvertError("'" + std::string(text) + "' is not a value of " + prop.TypeName +
                                " (" + prop.Name + ")");
        return TValue::Ident(prop.Names[index]);
    }
    case TTypeKind::tkSet: {
        std::string_view body = text;
        if (body.size() < 2 || body.front() != '[' || body.back() != ']')
            throw EConvertError("'" + std::string(text) + "' is not a set such as [" +
                                (prop.Names.empty() ? "" : prop.Names.front()) + "]");
        body = body.substr(1, body.size() - 2);
        TValue set;
        set.Kind = TValueKind::Set;
        while (!Trimmed(body).empty()) {
            const std::size_t comma = body.find(',');
            const std::string element = Trimmed(body.substr(0, comma));
            const int index = IndexOfName(prop.Names, element);
            if (index < 0)
                throw EConvertError("'" + element + "' is not an element of " + prop.TypeName);
            set.Set.push_back(prop.Names[index]);
            body = comma == std::string_view::npos ? std::string_view{} : body.substr(comma + 1);
        }
        return set;
    }
    case TTypeKind::tkClass:
    case TTypeKind::tkMethod:
        if (!text.empty() && !IsName(text))
            throw EConvertError("'" + std::string(text) + "' is not a name (" + prop.Name + ")");
        return TValue::Ident(std::string(text));
    case TTypeKind::tkFloat: {
        TValue value;
        value.Kind = TValueKind::Float;
        const std::string digits(text);
        char* end = nullptr;
        value.Float = std::strtod(digits.c_str(), &end);
        if (digits.empty() || end != digits.c_str() + digits.size())
            throw EConvertError("'" + digits + "' is not a valid floating point value");
        value.Text = digits;
        return value;
    }
    case TTypeKind::tkString:
        break;
    }
    return TValue::String(std::string(text));
}

std::string ValueText(const TValue& value) {
    switch (value.Kind) {
    case TValueKind::Integer:
        return IntToStr(value.Int);
    case TValueKind::Set: {
        std::string text = "[";
        for (std::size_t i = 0; i < value.Set.size(); ++i)
            text += (i ? ", " : "") + value.Set[i];
        return text + "]";
    }
    case TValueKind::Float:
        return value.Text.empty() ? std::to_string(value.Float) : value.Text;
    default:
        return value.Text;
    }
}

std::int64_t OrdinalOf(const TPropInfo& prop, const TValue& value) {
    if (prop.Kind == TTypeKind::tkEnumeration && value.Kind == TValueKind::Ident)
        return IndexOfName(prop.Names, value.Text);
    if (prop.IsColor() && value.Kind == TValueKind::Ident)
        return static_cast<std::int32_t>(StringToColor(value.Text));
    return value.Int;
}

bool SameValue(const TPropInfo& prop, const TValue& a, const TValue& b) {
    if (prop.Kind == TTypeKind::tkEnumeration || prop.IsColor())
        return OrdinalOf(prop, a) == OrdinalOf(prop, b);
    if (prop.Kind == TTypeKind::tkSet) {
        if (a.Kind != TValueKind::Set || b.Kind != TValueKind::Set)
            return false;
        auto contains = [](const TValue& set, const std::string& element) {
            return std::any_of(set.Set.begin(), set.Set.end(),
                               [&](const std::string& e) { return SameText(e, element); });
        };
        return std::all_of(a.Set.begin(), a.Set.end(), [&](auto& e) { return contains(b, e); }) &&
               std::all_of(b.Set.begin(), b.Set.end(), [&](auto& e) { return contains(a, e); });
    }
    if (prop.Kind == TTypeKind::tkClass || prop.Kind == TTypeKind::tkMethod)
        return SameText(a.Text, b.Text);
    return a == b;
}

bool IsDefaultValue(const TPropInfo& prop, const TValue& value) {
    return prop.Default && SameValue(prop, *prop.Default, value);
}

TValue ZeroValue(const TPropInfo& prop) {
    switch (prop.Kind) {
    case TTypeKind::tkEnumeration:
        return TValue::Ident(prop.Names.empty() ? std::string() : prop.Names.front());
    case TTypeKind::tkSet: {
        TValue set;
        set.Kind = TValueKind::Set;
        return set;
    }
    case TTypeKind::tkString:
        return TValue::String({});
    case TTypeKind::tkClass:
    case TTypeKind::tkMethod:
        return TValue::Ident({});
    case TTypeKind::tkFloat: {
        TValue value;
        value.Kind = TValueKind::Float;
        return value;
    }
    case TTypeKind::tkInteger:
        break;
    }
    return TValue::Integer(0);
}

} // namespace vesk
