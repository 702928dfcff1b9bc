// Directory listing as the old host gave it: FindFirst / FindNext / FindClose with a
// wildcard mask and entry attributes. Names match without regard to ASCII case, "*"
// standing for any run of characters and "?" for one. On this platform a name that
// begins with "." is hidden, and anything that is neither a regular file nor a
// directory (after following links) is a system entry; there are no volume labels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

inline constexpr int faReadOnly = 0x01;
inline constexpr int faHidden = 0x02;
inline constexpr int faSysFile = 0x04;
inline constexpr int faVolumeID = 0x08;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;
inline constexpr int faAnyFile = 0x3F;

// True when Name matches Mask ("*" any run, "?" one character, case ignored). The
// mask "*.*" matches every name, with or without a dot, and a mask ending in "."
// also matches names that have no dot ("U*." takes "Unit1").
bool MatchesMask(std::string_view name, std::string_view mask);

// Where a directory lives on disk, to tell when two paths reach the same one.
struct TFileId {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    auto operator<=>(const TFileId&) const = default;
};

// One reading of a directory: every entry but "." and "..", in the order the system
// returns them, with the attributes above. Kinds come from the directory itself;
// only links and entries of unknown kind cost a look at the entry.
class TDirListing {
public:
    struct Entry {
        std::string_view Name; // held by the listing
        int Attr = 0;
    };
    // Lists Dir ("" is the current directory). A directory that cannot be read gives
    // an empty listing with Ok() false.
    explicit TDirListing(const std::string& dir);
    TDirListing(const TDirListing&) = delete;
    TDirListing& operator=(const TDirListing&) = delete;

    bool Ok() const { return FOk; }
    int Error() const { return FError; } // errno of the failed opening
    const TFileId& Id() const { return FId; }
    const std::vector<Entry>& Entries() const { return FEntries; }

private:
    std::vector<Entry> FEntries;
    std::string FNames; // every name, one after another: one allocation, not one each
    TFileId FId;
    bool FOk = false;
    int FError = 0;
};

// Delphi's search record. FindHandle is the listing being walked.
struct TSearchRec {
    std::string Name;
    int Attr = 0;
    std::int64_t Size = 0;
    std::int64_t Time = 0; // modification time, seconds since 1970
    struct FindState;
    std::shared_ptr<FindState> FindHandle;
};

// Starts a listing of Path, a directory followed by a mask ("dir/U*.pas"), returning
// regular files and the special entries whose kinds Attr asks for (directory, hidden,
// system). 0 when an entry was found, else an error code (ENOENT when nothing matches).
int FindFirst(std::string_view path, int attr, TSearchRec& searchRec);
int FindNext(TSearchRec& searchRec);
void FindClose(TSearchRec& searchRec);

// Whether an entry of the given attributes passes the wanted set, by the host's rule:
// an entry with a special attribute that was not asked for is left out.
inline bool AttrWanted(int entryAttr, int wanted) {
    const int excluded = ~wanted & (faHidden | faSysFile | faVolumeID | faDirectory);
    return (entryAttr & excluded) == 0;
}

} // namespace vesk
