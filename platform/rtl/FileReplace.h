// Replacing a file whole: the new content is written to a temporary file beside the
// target and renamed over it on Commit, so a reader or a crash sees either the old file
// or the new one, never a mix.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace vesk {

// How the temporary file is named.
enum class TTempName {
    Unique, // a fresh hidden name: writers need no lock of their own
    Fixed,  // "<target>.tmp", recreated each time: for writers holding a lock on the target
};

// One replacement of Target. A target that is a link is followed: the file it points to
// is replaced and the link stays. An existing device or pipe is written directly. The
// new file keeps the mode and, where allowed, the owner of the one it replaces; a new
// target gets NewMode (less the umask). Every failure raises EInOutError naming the
// target; until Commit succeeds the target is untouched, and the destructor removes the
// temporary file.
class TFileReplace {
public:
    explicit TFileReplace(const std::string& target, mode_t newMode = 0666,
                          TTempName naming = TTempName::Unique);
    TFileReplace(const TFileReplace&) = delete;
    TFileReplace& operator=(const TFileReplace&) = delete;
    ~TFileReplace();

    void Write(const void* data, std::size_t size);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    // Flushes the content to the disk, renames it over the target and makes the rename
    // itself durable.
    void Commit();

private:
    std::string FTarget; // as the caller named it, for messages
    std::string FFinal;  // the file actually replaced
    std::string FTemp;   // empty when writing directly or once committed
    int FFd = -1;
};

// Replaces Target with Bytes in one call.
void ReplaceFile(const std::string& target, std::string_view bytes, mode_t newMode = 0666);

} // namespace vesk
