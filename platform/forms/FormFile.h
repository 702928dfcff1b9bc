// Form files: the text format (.dfm, .lfm) and the binary format, read into the
// component model and written back in the format they were read in. What nobody
// changed is written back byte for byte.
#pragma once

#include "platform/forms/Component.h"

#include <memory>
#include <string>

namespace vesk {

// A form file that cannot be read: the message names the line (text) or the byte
// offset (binary) where reading stopped.
class EFormError : public Exception {
    using Exception::Exception;
};

enum class TFormFormat { Text, Binary };

// Bounds that keep a hostile file from exhausting the stack or the memory.
constexpr int MaxFormNesting = 128;
constexpr std::size_t MaxFormFileSize = std::size_t{256} << 20;

class TFormFile {
public:
    TFormFile();
    ~TFormFile();

    // Reads a form from bytes of either format; raises EFormError.
    static std::unique_ptr<TFormFile> Parse(std::string bytes);
    // Raises EInOutError when the file cannot be read, is no regular file or is larger
    // than MaxFormFileSize; EFormError when it is malformed.
    static std::unique_ptr<TFormFile> LoadFromFile(const std::string& path);

    // The form in the format it was read in.
    std::string Save() const;
    // Replaces the file atomically: a failure leaves the old file whole.
    void SaveToFile(const std::string& path) const;

    TComponent* Root() const { return FRoot.get(); }
    TFormFormat Format() const { return FFormat; }

    // Reader and writer state.
    std::unique_ptr<TComponent> FRoot;
    TFormFormat FFormat = TFormFormat::Text;
    std::string FLeading; // text: what stands before the first object (a byte-order mark)
    std::string FTrailer; // what follows the last "end" or end mark
    std::string FEol = "\r\n";
    std::string FResHeader; // binary forms saved as a resource: the header before the data
    std::size_t FResDataSize = 0;
};

// Replaces the file at Path with Bytes whole (see ReplaceFile).
void WriteFileAtomic(const std::string& path, const std::string& bytes);

// Readers and writers of the two formats (FormText.cpp, FormBinary.cpp).
void ReadTextForm(const std::string& bytes, TFormFile& form);
std::string WriteTextForm(const TFormFile& form);
// One object with what is nested in it, as the text writer writes it at Depth (what was
// read at that depth and is unchanged keeps its bytes).
std::string WriteTextObject(const TComponent& component, int depth, const std::string& eol);
void ReadBinaryForm(const std::string& bytes, TFormFile& form);
std::string WriteBinaryForm(const TFormFile& form);
bool LooksBinary(const std::string& bytes);
// A character code (wide characters of either format) as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t code);

// A component just read: owned by the form, or by the frame it was placed on inline,
// and nested in Enclosing (none: it is the form itself).
TComponent* AddReadObject(TFormFile& form, TComponent* enclosing, const std::string& className,
                          const std::string& name);

// After reading: resolves the identifiers that name components of the same owner
// into references, and gives a root of unknown class its known base.
void ResolveFormReferences(TFormFile& form);

} // namespace vesk
