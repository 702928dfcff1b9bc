#include "platform/files/FindFile.h"

#include "platform/rtl/SysUtils.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {

namespace {

char Fold(char ch) {
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

int KindAttr(mode_t mode) {
    if (S_ISDIR(mode))
        return faDirectory;
    if (S_ISREG(mode))
        return 0;
    return faSysFile;
}

} // namespace

namespace {

bool Glob(std::string_view name, std::string_view mask) {
    // Iterative glob with one back-tracking point: linear for masks with one "*".
    std::size_t n = 0, m = 0;
    std::size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() &&
            (mask[m] == '?' || (mask[m] != '*' && Fold(mask[m]) == Fold(name[n])))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*" || mask == "*")
        return true;
    if (Glob(name, mask))
        return true;
    // As on the old host, a mask ending in "." also takes names without an extension.
    return !mask.empty() && mask.back() == '.' && name.find('.') == std::string_view::npos &&
           Glob(name, mask.substr(0, mask.size() - 1));
}

TDirListing::TDirListing(const std::string& dir) {
    const std::string path = dir.empty() ? std::string(".") : dir;
    DIR* handle = ::opendir(path.c_str());
    if (!handle) {
        FError = errno;
        return;
    }
    struct stat self {};
    if (::fstat(::dirfd(handle), &self) == 0)
        FId = TFileId{static_cast<std::uint64_t>(self.st_dev),
                      static_cast<std::uint64_t>(self.st_ino)};
    FOk = true;
    const int fd = ::dirfd(handle);
    std::vector<std::size_t> ends;
    while (const dirent* entry = ::readdir(handle)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        int attr;
        switch (entry->d_type) {
        case DT_DIR:
            attr = faDirectory;
            break;
        case DT_REG:
            attr = 0;
            break;
        case DT_LNK:
        case DT_UNKNOWN: {
            struct stat st {};
            attr = ::fstatat(fd, name, &st, 0) == 0 ? KindAttr(st.st_mode) : faSysFile;
            break;
        }
        default:
            attr = faSysFile;
        }
        if (name[0] == '.')
            attr |= faHidden;
        FNames.append(name);
        ends.push_back(FNames.size());
        FEntries.push_back(Entry{{}, attr});
    }
    ::closedir(handle);
    std::size_t start = 0;
    for (std::size_t i = 0; i < FEntries.size(); ++i) {
        FEntries[i].Name = std::string_view(FNames).substr(start, ends[i] - start);
        start = ends[i];
    }
}

struct TSearchRec::FindState {
    std::string Dir;
    std::string Mask;
    int Wanted = 0;
    TDirListing Listing;
    std::size_t Next = 0;
    FindState(std::string dir, std::string mask, int wanted)
        : Dir(std::move(dir)), Mask(std::move(mask)), Wanted(wanted), Listing(Dir) {}
};

int FindNext(TSearchRec& searchRec) {
    TSearchRec::FindState* state = searchRec.FindHandle.get();
    if (!state)
        return EBADF;
    const auto& entries = state->Listing.Entries();
    while (state->Next < entries.size()) {
        const TDirListing::Entry& entry = entries[state->Next++];
        if (!AttrWanted(entry.Attr, state->Wanted) || !MatchesMask(entry.Name, state->Mask))
            continue;
        searchRec.Name = entry.Name;
        searchRec.Attr = entry.Attr;
        searchRec.Size = 0;
        searchRec.Time = 0;
        struct stat st {};
        if (::stat((state->Dir + searchRec.Name).c_str(), &st) == 0) {
            searchRec.Size = static_cast<std::int64_t>(st.st_size);
            searchRec.Time = static_cast<std::int64_t>(st.st_mtim.tv_sec);
            if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
                searchRec.Attr |= faReadOnly;
            else if (!(entry.Attr & faDirectory))
                searchRec.Attr |= faArchive;
        }
        return 0;
    }
    return ENOENT;
}

int FindFirst(std::string_view path, int attr, TSearchRec& searchRec) {
    const std::string dir = ExtractFilePath(path);
    const std::string mask = ExtractFileName(path);
    searchRec.FindHandle = std::make_shared<TSearchRec::FindState>(dir, mask, attr);
    if (!searchRec.FindHandle->Listing.Ok()) {
        const int error = searchRec.FindHandle->Listing.Error();
        searchRec.FindHandle.reset();
        return error;
    }
    const int result = FindNext(searchRec);
    if (result != 0)
        searchRec.FindHandle.reset();
    return result;
}

void FindClose(TSearchRec& searchRec) {
    searchRec.FindHandle.reset();
}

} // namespace vesk
