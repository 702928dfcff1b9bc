// File and folder helpers the units call beside SysUtils: existence tests, the
// trailing path delimiter of this platform, and reading a file whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

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

// Why an existing Path of that mode holds no file content to read or replace: "'X' is a
// directory", "'X' is a fifo, not a file" (a socket, a device); empty for a regular file.
std::string NotAFileMessage(std::string_view path, mode_t mode);

// Opens a regular file for reading and returns its descriptor, which the caller closes.
// A fifo or a device is refused at once instead of waiting for a writer or reading
// forever. Raises EInOutError "Cannot open 'X': reason" or NotAFileMessage.
int OpenFileForReading(const std::string& path);

// The whole content of a regular file (see OpenFileForReading). A file larger than
// MaxSize bytes raises EInOutError "'X' is larger than N MB" before anything is read.
std::string ReadFileContent(const std::string& path, std::size_t maxSize = std::size_t(-1));

} // namespace vesk
