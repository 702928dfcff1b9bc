#include "platform/rtl/SysUtils.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace vesk {

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}

std::int32_t StrToInt(std::string_view text) {
    auto fail = [&]() -> EConvertError {
        return EConvertError("'" + std::string(text) + "' is not a valid integer value");
    };
    std::string_view digits = text;
    const bool plus = !digits.empty() && digits.front() == '+';
    if (plus)
        digits.remove_prefix(1); // from_chars takes "-" but not "+"
    if (digits.empty() || digits.front() == '+' ||
        (digits.front() == '-' && (plus || digits.size() == 1)))
        throw fail();
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        throw fail();
    return value;
}

char UpCase(char ch) {
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

static char LoCase(char ch) {
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

std::string Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& ch : result)
        ch = UpCase(ch);
    return result;
}

std::string LowerCase(std::string_view text) {
    std::string result(text);
    for (char& ch : result)
        ch = LoCase(ch);
    return result;
}

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(UpCase(a[i]));
        const auto cb = static_cast<unsigned char>(UpCase(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
    // Names looked up are most often spelt exactly as stored: compare bytes first.
    return a.size() == b.size() && (a == b || CompareText(a, b) == 0);
}

static std::size_t NameStart(std::string_view path) {
    const std::size_t sep = path.find_last_of("/\\");
    return sep == std::string_view::npos ? 0 : sep + 1;
}

std::string ExtractFileName(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string ExtractFilePath(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string ExtractFileExt(std::string_view path) {
    const std::string_view name = path.substr(NameStart(path));
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view extension) {
    const std::size_t start = NameStart(path);
    const std::size_t dot = path.substr(start).rfind('.');
    std::string changed(path.substr(0, dot == std::string_view::npos ? path.size() : start + dot));
    changed += extension;
    return changed;
}

} // namespace vesk
