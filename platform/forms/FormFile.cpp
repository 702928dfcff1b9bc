#include "platform/forms/FormFile.h"

#include "platform/rtl/FileReplace.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace vesk {

TFormFile::TFormFile() = default;
TFormFile::~TFormFile() = default;

std::unique_ptr<TFormFile> TFormFile::Parse(std::string bytes) {
    if (bytes.size() > MaxFormFileSize)
        throw EFormError("form file larger than " + std::to_string(MaxFormFileSize >> 20) + " MB");
    auto form = std::make_unique<TFormFile>();
    if (LooksBinary(bytes))
        ReadBinaryForm(bytes, *form);
    else
        ReadTextForm(bytes, *form);
    ResolveFormReferences(*form);
    return form;
}

std::unique_ptr<TFormFile> TFormFile::LoadFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EInOutError("Cannot open file \"" + path + "\": " + std::strerror(errno));
    in.seekg(0, std::ios::end);
    const auto size = static_cast<std::size_t>(in.tellg());
    if (size > MaxFormFileSize)
        throw EFormError(path + ": form file larger than " + std::to_string(MaxFormFileSize >> 20) +
                         " MB");
    in.seekg(0);
    std::string bytes(size, '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size)))
        throw EInOutError("Cannot read file \"" + path + "\"");
    try {
        return Parse(std::move(bytes));
    } catch (const EFormError& e) {
        throw EFormError(path + ": " + e.Message());
    }
}

std::string TFormFile::Save() const {
    return FFormat == TFormFormat::Binary ? WriteBinaryForm(*this) : WriteTextForm(*this);
}

void TFormFile::SaveToFile(const std::string& path) const {
    WriteFileAtomic(path, Save());
}

void WriteFileAtomic(const std::string& path, const std::string& bytes) {
    ReplaceFile(path, bytes);
}

TComponent* AddReadObject(TFormFile& form, TComponent* enclosing, const std::string& className,
                          const std::string& name) {
    TComponent* owner = nullptr;
    if (enclosing)
        owner = enclosing->Owner() && enclosing->Stream.Kind != TStreamRecord::TKind::Inline
                    ? enclosing->Owner()
                    : enclosing;
    auto* obj = new TComponent(className, owner);
    if (enclosing)
        obj->MoveIntoAsRead(enclosing);
    else
        form.FRoot.reset(obj);
    obj->AssignNameAsRead(name);
    return obj;
}

namespace {

bool RefersToComponent(const TComponent& c, const TProperty& p) {
    if (p.Value.Kind != TValueKind::Ident || p.Value.Text.find('.') != std::string::npos)
        return false;
    if (const TPropInfo* info = GetPropInfo(c.ClassInfo(), p.Name))
        return info->RefersToComponent();
    return IsComponentReferenceName(p.Name);
}

void Resolve(TComponent& c) {
    TComponent* scope = c.Owner() ? c.Owner() : &c;
    for (TProperty& p : c.MutableProperties()) {
        if (!RefersToComponent(c, p))
            continue;
        TComponent* target = scope->FindComponent(p.Value.Text);
        if (!target && SameText(scope->Name(), p.Value.Text))
            target = scope;
        if (target) {
            p.Ref = target;
            // The text stays as written until the component itself is renamed, even
            // where it spells the name in another case.
            p.RefNameAsRead = target->Name();
        }
    }
    for (int i = 0; i < c.ComponentCount(); ++i)
        Resolve(*c.Components(i));
}

// A form's own class (TForm1) is not one we know: it stands for the class it is
// derived from.
void GiveKnownBase(TComponent& c) {
    if (!c.ClassInfo()) {
        const char* base = "TForm";
        if (c.Stream.Kind == TStreamRecord::TKind::Inline)
            base = "TFrame";
        else if (UpperCase(c.ClassName()).find("DATAMODULE") != std::string::npos)
            base = "TDataModule";
        else if (c.Owner())
            return;
        c.SetClassBase(FindClassInfo(base));
    }
    for (int i = 0; i < c.ComponentCount(); ++i)
        GiveKnownBase(*c.Components(i));
}

} // namespace

void ResolveFormReferences(TFormFile& form) {
    if (!form.Root())
        return;
    GiveKnownBase(*form.Root());
    Resolve(*form.Root());
}

} // namespace vesk
