// Any bytes as a settings store. A store that reads, with values added to it as the
// registry adds them, must write back as text that reads to the same keys and values,
// and that text must come back unchanged: what the registry writes is what the next
// read finds.
#include "platform/registry/RegFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

bool SameValues(const vesk::TRegData& a, const vesk::TRegData& b) {
    if (a.Keys().size() != b.Keys().size())
        return false;
    for (std::size_t k = 0; k < a.Keys().size(); ++k) {
        const vesk::TRegKey& x = a.Keys()[k];
        const vesk::TRegKey& y = b.Keys()[k];
        if (x.Path != y.Path || x.Values().size() != y.Values().size())
            return false;
        for (std::size_t v = 0; v < x.Values().size(); ++v) {
            const vesk::TRegValue& p = x.Values()[v];
            const vesk::TRegValue& q = y.Values()[v];
            if (p.Name != q.Name || p.Type != q.Type || p.Text != q.Text || p.Value != q.Value)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vesk::TRegData first;
    try {
        first = vesk::ParseRegFile(text, "fuzz.reg");
    } catch (const vesk::ERegistryException&) {
        return 0;
    }
    // As the registry writes: a value added to every key and a key added at the end.
    std::vector<std::string> paths;
    for (const vesk::TRegKey& key : first.Keys())
        paths.push_back(key.Path);
    for (const std::string& path : paths)
        first.Obtain(path).Put({"vesk.fuzz", vesk::TRegDataType::rdString, "added", 0});
    first.Obtain("HKEY_CURRENT_USER\\Software\\Vesk fuzz")
        .Put({"Favor0", vesk::TRegDataType::rdString, "/added.pas", 0});
    const std::string written = vesk::FormatRegFile(first);
    vesk::TRegData second;
    try {
        second = vesk::ParseRegFile(written, "fuzz.reg");
    } catch (const vesk::ERegistryException&) {
        __builtin_trap(); // what we wrote does not read
    }
    if (!SameValues(first, second) || vesk::FormatRegFile(second) != written)
        __builtin_trap();
    return 0;
}
