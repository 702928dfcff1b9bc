// A folder of its own for a test, removed with everything in it when the test ends.
#pragma once

#include "platform/forms/FormFile.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace vesk {

class TTempFolder {
public:
    TTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vesk-ide-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        FPath = pattern;
    }
    ~TTempFolder() {
        std::error_code error;
        std::filesystem::remove_all(FPath, error);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // The full name of Name in the folder, written with Bytes (folders made as needed).
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = FPath / name;
        std::filesystem::create_directories(file.parent_path());
        WriteFileAtomic(file.string(), bytes);
        return file.string();
    }
    std::string File(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

} // namespace vesk
