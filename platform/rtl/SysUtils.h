// Run-time helpers the units call: the exception classes, number and text
// conversions, and file-name parts. Strings are byte strings.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vesk {

// Base of every error the run-time raises; Message() is the text shown to the user,
// whole: unlike what(), it does not end at a NUL byte quoted from a value.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message)
        : std::runtime_error(message), FMessage(message) {}
    const std::string& Message() const { return FMessage; }

private:
    std::string FMessage;
};

// A text that is not a number of the wanted kind.
class EConvertError : public Exception {
    using Exception::Exception;
};

// A file could not be opened, read, written or replaced.
class EInOutError : public Exception {
    using Exception::Exception;
};

// An index outside a list.
class EListError : public Exception {
    using Exception::Exception;
};

// An index outside a string list, or an operation a sorted list refuses.
class EStringListError : public EListError {
    using EListError::EListError;
};

// An argument outside the range a routine is defined for.
class ERangeError : public Exception {
    using Exception::Exception;
};

// Arguments a routine refuses because it could not finish with them.
class EArgumentError : public Exception {
    using Exception::Exception;
};

std::string IntToStr(std::int64_t value);

// A signed decimal integer that fits in 32 bits, nothing else: no blanks, no hex.
// Raises EConvertError "'TEXT' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

// Comparisons and case mapping of ASCII letters; other bytes are compared as they are.
char UpCase(char ch);
std::string UpperCase(std::string_view text);
// Text without the white space (blanks, tabs, line ends) at its ends.
std::string Trim(std::string_view text);
std::string LowerCase(std::string_view text);
// Negative, zero or positive as A sorts before, with or after B, ignoring ASCII case.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// File-name parts; "/" and "\" both separate folders, so names written on
// either system split the same way.
std::string ExtractFileName(std::string_view path);
std::string ExtractFilePath(std::string_view path); // up to and including the last separator
std::string ExtractFileExt(std::string_view path);  // from the last "." of the name, with the "."
// The path with its name's extension (as ExtractFileExt gives it) replaced by Extension.
std::string ChangeFileExt(std::string_view path, std::string_view extension);

} // namespace vesk
