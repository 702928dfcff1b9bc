#include "ide/project/Environment.h"

#include "platform/rtl/FileUtils.h"

#include <algorithm>
#include <filesystem>

namespace vesk {

namespace {

// The version folders below Folder, in ascending order.
std::vector<std::string> VersionFolders(const std::filesystem::path& folder) {
    std::vector<std::string> versions;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (it->is_directory(error))
            versions.push_back(it->path().string());
    std::sort(versions.begin(), versions.end());
    return versions;
}

} // namespace

std::vector<std::string> InstalledSourceFolders(const std::string& root) {
    const std::filesystem::path base(root);
    std::vector<std::string> folders;
    auto add = [&](const std::filesystem::path& tree, std::initializer_list<const char*> parts) {
        for (const std::string& version : VersionFolders(tree))
            for (const char* part : parts) {
                const std::string folder = (std::filesystem::path(version) / part).string();
                if (DirectoryExists(folder))
                    folders.push_back(folder);
            }
    };
    add(base / "usr/share/fpcsrc", {"rtl", "packages"});
    add(base / "usr/share/lazarus", {"lcl", "components"});
    return folders;
}

std::string DefaultSearchPath(const std::string& sampleFolder,
                              const std::vector<std::string>& sourceFolders) {
    std::string path = sampleFolder;
    for (const std::string& folder : sourceFolders)
        path += (path.empty() ? "" : ";") + folder;
    return path;
}

bool ReadSearchPath(const std::shared_ptr<TRegistryFile>& store, std::string& path) {
    TRegistry reg(store);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(IdeLibraryKeyName, false) || !reg.ValueExists(SearchPathValueName))
        return false;
    path = reg.ReadString(SearchPathValueName);
    return true;
}

void WriteSearchPath(const std::shared_ptr<TRegistryFile>& store, const std::string& path) {
    TRegistry reg(store);
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.OpenKey(IdeLibraryKeyName, true);
    reg.WriteString(SearchPathValueName, path);
}

std::string EnsureSearchPath(const std::shared_ptr<TRegistryFile>& store,
                             const std::string& defaultPath) {
    std::string path;
    if (ReadSearchPath(store, path))
        return path;
    WriteSearchPath(store, defaultPath);
    return defaultPath;
}

} // namespace vesk
