// Replacing a file whole: the new content is written beside the target and renamed over
// it on Commit, so a reader or a crash sees either the old file or the new one, never a
// mix, and nothing of an unfinished replacement is left behind.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace vesk {

// The name the new content takes beside the target before it is renamed over it.
enum class TTempName {
    Unique, // a fresh hidden name: writers need no lock of their own
    Fixed,  // "<target>.tmp", recreated each time: for writers holding a lock on the target
};

// One replacement of Target.
//
// The content goes into an unnamed file (O_TMPFILE) where the file system allows it and
// gets its temporary name only once it is complete and on the disk, so that even a
// process killed outright leaves nothing behind; elsewhere it goes into a named
// temporary file from the start. A named temporary file is removed on every failure, by
// the destructor, and when SIGINT, SIGTERM or SIGHUP ends the process (the signal then
// has its usual effect, or reaches the handler that was installed before).
//
// A target that is a link is followed: the file it points to is replaced and the link
// stays. Refused, each with one EInOutError naming the target: a directory ("'X' is a
// directory"), a fifo, socket or device, a link that leads nowhere or in a loop, and an
// existing file the user could not write with cp ("Cannot replace 'X': Permission
// denied"), even when its folder is writable. The new file keeps the mode and, where
// allowed, the owner of the one it replaces; a new target gets NewMode (less the umask).
// Until Commit succeeds the target is untouched.
class TFileReplace {
public:
    explicit TFileReplace(const std::string& target, mode_t newMode = 0666,
                          TTempName naming = TTempName::Unique);
    TFileReplace(const TFileReplace&) = delete;
    TFileReplace& operator=(const TFileReplace&) = delete;
    ~TFileReplace();

    void Write(const void* data, std::size_t size);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    // Flushes the content to the disk and gives it its temporary name; the target is
    // still untouched. Preparing every file of a change before committing any of them
    // leaves only the renames to fail after the first file was replaced.
    void Prepare();
    // Prepares (when not done yet), renames the new content over the target and makes
    // the rename itself durable.
    void Commit();

    const std::string& Target() const { return FTarget; }

private:
    void OpenNamed(mode_t mode, TTempName naming);
    void NameUnnamed(TTempName naming);

    std::string FTarget; // as the caller named it, for messages
    std::string FFinal;  // the file actually replaced
    std::string FFolder; // where FFinal lies
    std::string FTemp;   // the temporary name; empty while unnamed and once committed
    TTempName FNaming;
    int FFd = -1;
    int FCleanupSlot = -1; // FTemp's entry in the list the signal handler removes
    bool FUnnamed = false;
    bool FPrepared = false;
};

// Replaces Target with Bytes in one call.
void ReplaceFile(const std::string& target, std::string_view bytes, mode_t newMode = 0666);

// Whether replacements may start with an unnamed file (the default; each still falls
// back to a named one where the file system has no unnamed files). Off, every one uses
// a named temporary file from the start, as on such a file system; tests turn it off to
// run that path.
void AllowUnnamedTemporaryFiles(bool allowed);

} // namespace vesk
