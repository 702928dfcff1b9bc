#include "expert/frame/VeskCommon.h"

#include "expert/parsing/Parser.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace vesk {

namespace {

constexpr const char* PlacementSuffix = "FormPlacement";

// The stored placement string, or "" when there is none.
std::string ReadPlacement(const IFormBounds& form, const std::string& key) {
    TRegistry reg;
    reg.OpenKey(key, false);
    return reg.ReadString(form.Name() + PlacementSuffix);
}

void WritePlacement(const IFormBounds& form, const std::string& key, const std::string& value) {
    TRegistry reg;
    reg.OpenKey(key, true);
    reg.WriteString(form.Name() + PlacementSuffix, value);
}

int Word(const std::string& text, int n) {
    return StrToInt(GetWord(text, n, Space));
}

} // namespace

void ReadFormPlacement(IFormBounds& form, const std::string& key) {
    const std::string stored = ReadPlacement(form, key);
    if (stored.empty())
        return;
    form.SetTop(Word(stored, 1));
    form.SetLeft(Word(stored, 2));
    form.SetHeight(Word(stored, 3));
    form.SetWidth(Word(stored, 4));
}

void ReadFormPosition(IFormBounds& form, const std::string& key) {
    const std::string stored = ReadPlacement(form, key);
    if (stored.empty())
        return;
    form.SetTop(Word(stored, 1));
    form.SetLeft(Word(stored, 2));
}

void WriteFormPlacement(const IFormBounds& form, const std::string& key) {
    WritePlacement(form, key,
                   IntToStr(form.Top()) + " " + IntToStr(form.Left()) + " " +
                       IntToStr(form.Height()) + " " + IntToStr(form.Width()));
}

void WriteFormPosition(const IFormBounds& form, const std::string& key) {
    WritePlacement(form, key, IntToStr(form.Top()) + " " + IntToStr(form.Left()));
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
