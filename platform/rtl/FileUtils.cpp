#include "platform/rtl/FileUtils.h"

#include <filesystem>
#include <sys/stat.h>

namespace vesk {

namespace {

bool StatMode(std::string_view path, mode_t& mode) {
    struct stat st {};
    if (::stat(std::string(path).c_str(), &st) != 0)
        return false;
    mode = st.st_mode;
    return true;
}

} // namespace

bool FileExists(std::string_view path) {
    mode_t mode = 0;
    return !path.empty() && StatMode(path, mode) && S_ISREG(mode);
}

bool DirectoryExists(std::string_view path) {
    mode_t mode = 0;
    return !path.empty() && StatMode(path, mode) && S_ISDIR(mode);
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string result(path);
    if (!result.empty() && result.back() != PathDelim)
        result.push_back(PathDelim);
    return result;
}

std::string ExpandFileName(std::string_view path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
    if (error)
        return std::string(path);
    return absolute.lexically_normal().string();
}

} // namespace vesk
