#include "expert/frame/ComExp.h"

#include "platform/controls/Forms.h"
#include "platform/forms/Component.h"
#include "platform/rtl/SysUtils.h"

#include <vector>

namespace vesk {

namespace {

// The editor is read in pieces of this many characters until a short one.
constexpr int ReadChunk = 10240;

} // namespace

std::string UnitFileOf(const std::string& fileName) {
    if (fileName.size() < 4)
        return fileName;
    const std::string_view ending = std::string_view(fileName).substr(fileName.size() - 4);
    if (!SameText(ending, ".dfm") && !SameText(ending, ".lfm"))
        return fileName;
    return fileName.substr(0, fileName.size() - 3) + "pas";
}

TIModuleInterface* GetCurModuleIntf() {
    if (!ToolServices)
        return nullptr;
    const std::string fileName = UnitFileOf(ToolServices->GetCurrentFile());
    if (fileName.empty())
        return nullptr;
    return ToolServices->GetModuleInterface(fileName);
}

TIEditorInterface* GetCurEditIntf() {
    const TIntfPtr<TIModuleInterface> module(GetCurModuleIntf());
    if (!module)
        return nullptr;
    return module->GetEditorInterface();
}

std::unique_ptr<TStringList> GetCurrentFile() {
    const TIntfPtr<TIEditorInterface> editor(GetCurEditIntf());
    if (!editor)
        return nullptr;
    const TIntfPtr<TIEditReader> reader(editor->CreateReader());
    if (!reader)
        return nullptr;
    std::string text;
    std::vector<char> buffer(ReadChunk);
    for (int position = 0;; position += ReadChunk) {
        // A host that claims more than it was asked for is held to the buffer.
        const int read =
            std::clamp(reader->GetText(position, buffer.data(), ReadChunk), 0, ReadChunk);
        text.append(buffer.data(), static_cast<std::size_t>(read));
        if (read < ReadChunk)
            break;
    }
    auto lines = std::make_unique<TStringList>();
    lines->SetText(text);
    return lines;
}

TComponent* GetActiveForm() {
    const TIntfPtr<TIModuleInterface> module(GetCurModuleIntf());
    if (!module)
        return nullptr;
    const TIntfPtr<TIFormInterface> form(module->GetFormInterface());
    if (!form)
        return nullptr;
    const TIntfPtr<TIComponentInterface> component(form->GetFormComponent());
    if (!component)
        return nullptr;
    std::string name;
    component->GetPropValueByName("Name", name);
    TComponent* result = nullptr;
    const TScreen& screen = Screen();
    for (int i = 0; i < screen.FormCount(); ++i)
        if (TComponent* open = screen.Forms(i); open && open->Name() == name)
            result = open; // the last match wins
    if (!result)
        module->ShowForm();
    return result;
}

void SetCursorPos(TEditPos topPos, TEditPos cursorPos) {
    if (topPos.Line < 0)
        return;
    const TIntfPtr<TIEditorInterface> editor(GetCurEditIntf());
    if (!editor)
        return;
    const TIntfPtr<TIEditView> view(editor->GetView(0));
    if (!view)
        return;
    view->SetPos(EditViewCursor, cursorPos);
    view->SetPos(EditViewTop, topPos);
}

TEditPos GetCursorPos() {
    const TIntfPtr<TIEditorInterface> editor(GetCurEditIntf());
    if (!editor)
        return {};
    const TIntfPtr<TIEditView> view(editor->GetView(0));
    return view ? view->GetPos(EditViewCursor) : TEditPos{};
}

} // namespace vesk
