#include "platform/registry/RegFile.h"

#include <array>
#include <cstdio>

namespace vesk {

namespace {

constexpr std::string_view Header = "REGEDIT4";
constexpr std::string_view DwordPrefix = "dword:";

[[noreturn]] void Fail(std::string_view fileName, int line, const std::string& what) {
    throw ERegistryException(std::string(fileName) + ":" + IntToStr(line) + ": " + what);
}

// Reads a quoted text starting at Pos (on the opening quote); Pos ends after the
// closing quote. False when the quote is not closed.
bool ReadQuoted(std::string_view line, std::size_t& pos, std::string& out) {
    out.clear();
    ++pos;
    for (;;) {
        const std::size_t special = line.find_first_of("\\\"", pos);
        if (special == std::string_view::npos) {
            pos = line.size();
            return false;
        }
        out.append(line.substr(pos, special - pos));
        pos = special + 1;
        if (line[special] == '"')
            return true;
        if (pos < line.size() && (line[pos] == '\\' || line[pos] == '"'))
            out.push_back(line[pos++]);
        else
            out.push_back('\\'); // a lone backslash stands for itself
    }
}

void WriteQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (;;) {
        const std::size_t special = text.find_first_of("\\\"");
        out.append(text.substr(0, special));
        if (special == std::string_view::npos)
            break;
        out.push_back('\\');
        out.push_back(text[special]);
        text.remove_prefix(special + 1);
    }
    out.push_back('"');
}

bool ParseDword(std::string_view digits, std::uint32_t& value) {
    if (digits.empty() || digits.size() > 8)
        return false;
    value = 0;
    for (char ch : digits) {
        int digit;
        if (ch >= '0' && ch <= '9')
            digit = ch - '0';
        else if (ch >= 'a' && ch <= 'f')
            digit = ch - 'a' + 10;
        else if (ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        else
            return false;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Splits Text into lines at CR LF, CR or LF.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

} // namespace

bool IsRootKeyName(std::string_view name) {
    static constexpr std::array<std::string_view, 5> roots = {
        "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
        "HKEY_CURRENT_CONFIG"};
    for (std::string_view root : roots)
        if (SameText(root, name))
            return true;
    return false;
}

const TRegValue* TRegKey::Find(std::string_view name) const {
    auto it = FIndex.find(UpperCase(name));
    return it == FIndex.end() ? nullptr : &FValues[it->second];
}

bool TRegKey::Put(TRegValue value) {
    auto [it, added] = FIndex.try_emplace(UpperCase(value.Name), FValues.size());
    if (added) {
        FValues.push_back(std::move(value));
        return true;
    }
    TRegValue& old = FValues[it->second];
    if (old.Type == value.Type && old.Text == value.Text && old.Value == value.Value)
        return false;
    value.Name = old.Name; // the name keeps the case it was created with
    old = std::move(value);
    return true;
}

bool TRegKey::Remove(std::string_view name) {
    auto it = FIndex.find(UpperCase(name));
    if (it == FIndex.end())
        return false;
    FValues.erase(FValues.begin() + static_cast<std::ptrdiff_t>(it->second));
    FIndex.clear();
    for (std::size_t i = 0; i < FValues.size(); ++i)
        FIndex.emplace(UpperCase(FValues[i].Name), i);
    return true;
}

const TRegKey* TRegData::Find(std::string_view path) const {
    auto it = FIndex.find(UpperCase(path));
    return it == FIndex.end() ? nullptr : &FKeys[it->second];
}

TRegKey* TRegData::Find(std::string_view path) {
    return const_cast<TRegKey*>(static_cast<const TRegData*>(this)->Find(path));
}

TRegKey& TRegData::Obtain(std::string_view path) {
    if (TRegKey* key = Find(path))
        return *key;
    FIndex.emplace(UpperCase(path), FKeys.size());
    FKeys.emplace_back().Path = std::string(path);
    return FKeys.back();
}

bool TRegData::Exists(std::string_view path) const {
    if (Find(path))
        return true;
    const std::string prefix = UpperCase(path) + "\\";
    for (const auto& [upper, index] : FIndex)
        if (upper.compare(0, prefix.size(), prefix) == 0)
            return true;
    return false;
}

TRegData ParseRegFile(std::string_view text, std::string_view fileName) {
    TRegData data;
    const std::vector<std::string_view> lines = SplitLines(text);
    std::size_t i = 0;
    while (i < lines.size() && TrimRight(lines[i]).empty())
        ++i;
    if (i == lines.size())
        return data; // an empty file is an empty store
    if (TrimRight(lines[i]) != Header)
        Fail(fileName, static_cast<int>(i + 1),
             "not a REGEDIT4 file (first line must be REGEDIT4)");

    TRegKey* key = nullptr;
    for (++i; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i + 1);
        std::string_view line = TrimRight(lines[i]);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                Fail(fileName, lineNo, "key line without closing ']'");
            std::string_view path = line.substr(1, line.size() - 2);
            if (!path.empty() && path.front() == '-')
                Fail(fileName, lineNo, "key deletion lines are not kept in the store");
            std::string_view root = path.substr(0, path.find('\\'));
            if (!IsRootKeyName(root))
                Fail(fileName, lineNo, "key '" + std::string(path) + "' has no known root");
            key = &data.Obtain(path);
            continue;
        }
        if (!key)
            Fail(fileName, lineNo, "value before the first key");

        TRegValue value;
        std::size_t pos = 0;
        if (line.front() == '@') {
            pos = 1;
        } else if (line.front() == '"') {
            if (!ReadQuoted(line, pos, value.Name))
                Fail(fileName, lineNo, "value name without closing quote");
        } else {
            Fail(fileName, lineNo, "expected a key in [brackets] or a \"value\"");
        }
        if (pos >= line.size() || line[pos] != '=')
            Fail(fileName, lineNo, "expected '=' after the value name");
        ++pos;
        std::string_view rest = line.substr(pos);
        if (!rest.empty() && rest.front() == '"') {
            std::size_t at = 0;
            if (!ReadQuoted(rest, at, value.Text))
                Fail(fileName, lineNo, "text value without closing quote");
            if (at != rest.size())
                Fail(fileName, lineNo, "unexpected characters after the text value");
            value.Type = TRegDataType::rdString;
        } else if (rest.size() >= DwordPrefix.size() &&
                   SameText(rest.substr(0, DwordPrefix.size()), DwordPrefix)) {
            if (!ParseDword(rest.substr(DwordPrefix.size()), value.Value))
                Fail(fileName, lineNo, "dword value needs 1 to 8 hexadecimal digits");
            value.Type = TRegDataType::rdInteger;
        } else {
            // Another kind (hex:, hex(n):, ...): kept as read, continuation lines included.
            value.Type = TRegDataType::rdOther;
            value.Text = std::string(rest);
            while (!value.Text.empty() && value.Text.back() == '\\' && i + 1 < lines.size()) {
                value.Text.append("\r\n");
                value.Text.append(lines[++i]);
            }
            // Written back as it stands, such a value would swallow whatever is written
            // after it: the file is refused as cut short instead.
            if (!value.Text.empty() && value.Text.back() == '\\')
                Fail(fileName, static_cast<int>(i + 1),
                     "the value continues past the end of the file (is the file cut short?)");
        }
        key->Put(std::move(value));
    }
    return data;
}

std::string FormatRegFile(const TRegData& data) {
    std::string out;
    out.append(Header).append("\r\n");
    for (const TRegKey& key : data.Keys()) {
        out.append("\r\n[").append(key.Path).append("]\r\n");
        for (const TRegValue& value : key.Values()) {
            if (value.Name.empty())
                out.push_back('@');
            else
                WriteQuoted(out, value.Name);
            out.push_back('=');
            switch (value.Type) {
            case TRegDataType::rdString:
                WriteQuoted(out, value.Text);
                break;
            case TRegDataType::rdInteger: {
                char digits[9];
                std::snprintf(digits, sizeof digits, "%08x", value.Value);
                out.append(DwordPrefix).append(digits);
                break;
            }
            case TRegDataType::rdOther:
                out.append(value.Text);
                break;
            }
            out.append("\r\n");
        }
    }
    return out;
}

} // namespace vesk
