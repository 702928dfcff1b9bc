// How the editor shows a file's bytes. A file that is valid UTF-8 is shown as it is; any
// other file is taken as Latin-1, where every byte is a character, so that a file in an
// old code page opens whole and is written back byte for byte.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <string>
#include <string_view>

namespace vesk {

enum class TTextEncoding { Utf8, Latin1 };

// A text that cannot be written in its file's encoding; the message names the line.
class EEncodingError : public Exception {
    using Exception::Exception;
};

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

struct TDecodedText {
    std::string Utf8; // what the editor shows
    TTextEncoding Encoding = TTextEncoding::Utf8;
};

// The editor's text for a file's bytes.
TDecodedText DecodeFileText(std::string bytes);

// The file's bytes for the editor's UTF-8 text. For Latin-1, a character beyond U+00FF
// (typed since the file was opened) cannot be written: EEncodingError names the file's
// line and nothing is written, rather than a character silently lost.
std::string EncodeFileText(std::string utf8, TTextEncoding encoding);

} // namespace vesk
