// The registry store's text form: a REGEDIT4 file the Windows registry editor can
// import. Keys are sections "[HKEY_CURRENT_USER\Software\...]"; values are
// "Name"="text" (with \\ and \" escaped), "Name"=dword:0000000a, or any other kind,
// which is kept exactly as it was read. Key paths and value names are compared
// without regard to ASCII case and keep the case they were created with.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vesk {

// Everything the registry store refuses: a file it cannot parse, a value of the wrong
// kind, a write that could not be made.
class ERegistryException : public Exception {
    using Exception::Exception;
};

enum class TRegDataType { rdString, rdInteger, rdOther };

struct TRegValue {
    std::string Name; // "" is the key's default value, written as @
    TRegDataType Type = TRegDataType::rdString;
    std::string Text;        // rdString: the text; rdOther: the raw data after "="
    std::uint32_t Value = 0; // rdInteger
};

struct TRegKey {
    std::string Path; // full path, root first: HKEY_CURRENT_USER\Software\...

    const std::vector<TRegValue>& Values() const { return FValues; }
    const TRegValue* Find(std::string_view name) const;
    // Sets or adds Value; false when an equal value was already there.
    bool Put(TRegValue value);
    bool Remove(std::string_view name);

private:
    std::vector<TRegValue> FValues;
    std::unordered_map<std::string, std::size_t> FIndex; // upper-cased name -> value
};

// All keys of one store, in the order they were first written.
class TRegData {
public:
    const TRegKey* Find(std::string_view path) const;
    TRegKey* Find(std::string_view path);
    // The key, created (at the end) when missing.
    TRegKey& Obtain(std::string_view path);
    // True when Path is a key or lies above one.
    bool Exists(std::string_view path) const;
    const std::vector<TRegKey>& Keys() const { return FKeys; }

private:
    std::vector<TRegKey> FKeys;
    std::unordered_map<std::string, std::size_t> FIndex; // upper-cased path -> key
};

// Reads the text of a store. Raises ERegistryException "FILE:LINE: what is wrong" for
// anything it cannot read, naming FileName.
TRegData ParseRegFile(std::string_view text, std::string_view fileName);
// The text of a store: CR LF line ends, a blank line between keys.
std::string FormatRegFile(const TRegData& data);

// The root names a key path may begin with.
bool IsRootKeyName(std::string_view name);

} // namespace vesk
