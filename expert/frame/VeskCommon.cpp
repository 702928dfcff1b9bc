#include "expert/frame/VeskCommon.h"

#include "expert/parsing/Parser.h"
#include "platform/ota/HostServices.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace vesk {

namespace {

constexpr const char* PlacementSuffix = "FormPlacement";

TRegistry Handle(const std::shared_ptr<TRegistryFile>& store) {
    return TRegistry(store ? store : HostServices().SettingsStore());
}

// The stored placement string, or "" when there is none.
std::string ReadPlacement(const IFormBounds& form, const std::string& key,
                          const std::shared_ptr<TRegistryFile>& store) {
    TRegistry reg = Handle(store);
    reg.OpenKey(key, false);
    return reg.ReadString(form.Name() + PlacementSuffix);
}

void WritePlacement(const IFormBounds& form, const std::string& key, const std::string& value,
                    const std::shared_ptr<TRegistryFile>& store) {
    TRegistry reg = Handle(store);
    reg.OpenKey(key, true);
    reg.WriteString(form.Name() + PlacementSuffix, value);
}

int Word(const std::string& text, int n) {
    return StrToInt(GetWord(text, n, Space));
}

} // namespace

void ReadFormPlacement(IFormBounds& form, const std::string& key,
                       const std::shared_ptr<TRegistryFile>& store) {
    const std::string stored = ReadPlacement(form, key, store);
    if (stored.empty())
        return;
    form.SetTop(Word(stored, 1));
    form.SetLeft(Word(stored, 2));
    form.SetHeight(Word(stored, 3));
    form.SetWidth(Word(stored, 4));
}

void ReadFormPosition(IFormBounds& form, const std::string& key,
                      const std::shared_ptr<TRegistryFile>& store) {
    const std::string stored = ReadPlacement(form, key, store);
    if (stored.empty())
        return;
    form.SetTop(Word(stored, 1));
    form.SetLeft(Word(stored, 2));
}

void WriteFormPlacement(const IFormBounds& form, const std::string& key,
                        const std::shared_ptr<TRegistryFile>& store) {
    WritePlacement(form, key,
                   IntToStr(form.Top()) + " " + IntToStr(form.Left()) + " " +
                       IntToStr(form.Height()) + " " + IntToStr(form.Width()),
                   store);
}

void WriteFormPosition(const IFormBounds& form, const std::string& key,
                       const std::shared_ptr<TRegistryFile>& store) {
    WritePlacement(form, key, IntToStr(form.Top()) + " " + IntToStr(form.Left()), store);
}

void edKeyChar(char key, IEditBox& edit) {
    constexpr char Backspace = 8;
    std::string text = edit.Text();
    const int length = static_cast<int>(text.size());
    int start = std::clamp(edit.SelStart(), 0, length);
    if (key == Backspace) {
        if (edit.SelLength() > 0) {
            edKeyChar(' ', edit); // the selection becomes one blank, removed just below
            text = edit.Text();
            start = std::clamp(edit.SelStart(), 0, static_cast<int>(text.size()));
        }
        if (start > 0)
            text.erase(static_cast<std::size_t>(start - 1), 1);
        edit.SetText(text);
        edit.SetSelStart(std::max(start - 1, 0));
        return;
    }
    const int selected = std::clamp(edit.SelLength(), 0, length - start);
    text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(selected), 1, key);
    edit.SetText(text);
    edit.SetSelStart(start + 1);
    edit.SetSelLength(0);
}

} // namespace vesk
