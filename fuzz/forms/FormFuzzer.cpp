// Any bytes as a form file, text or binary. A form that reads must write back the
// same bytes, and after renaming every component it must still read back with the
// new names.
#include "platform/forms/FormFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void RenameAll(vesk::TComponent& c, int& n) {
    for (int i = 0; i < c.ComponentCount(); ++i) {
        c.Components(i)->SetName("C" + std::to_string(++n));
        RenameAll(*c.Components(i), n);
    }
}

int CountAll(const vesk::TComponent& c) {
    int n = c.ComponentCount();
    for (int i = 0; i < c.ComponentCount(); ++i)
        n += CountAll(*c.Components(i));
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<vesk::TFormFile> form;
    try {
        form = vesk::TFormFile::Parse(bytes);
    } catch (const vesk::EFormError&) {
        return 0;
    }
    if (form->Save() != bytes)
        __builtin_trap();
    int n = 0;
    try {
        RenameAll(*form->Root(), n);
    } catch (const vesk::EComponentError&) {
        return 0; // two components of different owners may not share a new name
    }
    const std::string renamed = form->Save();
    auto again = vesk::TFormFile::Parse(renamed);
    if (CountAll(*again->Root()) != n)
        __builtin_trap();
    return 0;
}
