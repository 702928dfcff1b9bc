// File and folder helpers the units call beside SysUtils: existence tests and the
// trailing path delimiter of this platform.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

// The folder separator of this platform.
inline constexpr char PathDelim = '/';

bool FileExists(std::string_view path);      // a regular file (links followed)
bool DirectoryExists(std::string_view path); // a folder (links followed)
// Path with exactly one PathDelim more at its end unless it already ends in one; the
// empty path stays empty.
std::string IncludeTrailingPathDelimiter(std::string_view path);
// An absolute, lexically normal form of Path against the current folder.
std::string ExpandFileName(std::string_view path);

} // namespace vesk
