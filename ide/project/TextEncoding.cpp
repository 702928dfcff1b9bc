#include "ide/project/TextEncoding.h"

#include <cstdint>

namespace vesk {

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        std::uint32_t code, minimum;
        if ((c & 0xE0) == 0xC0) {
            length = 2, code = c & 0x1Fu, minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, code = c & 0x0Fu, minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, code = c & 0x07u, minimum = 0x10000;
        } else {
            return false; // a continuation byte or 0xF8..0xFF where a character starts
        }
        if (n - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3Fu);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

TDecodedText DecodeFileText(std::string bytes) {
    if (IsValidUtf8(bytes))
        return {std::move(bytes), TTextEncoding::Utf8};
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            text += ch;
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return {std::move(text), TTextEncoding::Latin1};
}

std::string EncodeFileText(std::string utf8, TTextEncoding encoding) {
    if (encoding == TTextEncoding::Utf8)
        return utf8;
    std::string bytes;
    bytes.reserve(utf8.size());
    int line = 1;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\n')
            ++line;
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        // U+0080..U+00FF are the two-byte forms that start with C2 or C3.
        if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
            (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            bytes += static_cast<char>(((c & 0x03) << 6) |
                                       (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            ++i;
            continue;
        }
        throw EEncodingError("Line " + IntToStr(line) +
                             " holds a character that the file's encoding, Latin-1, cannot "
                             "hold");
    }
    return bytes;
}

} // namespace vesk
