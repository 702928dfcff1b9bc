// The IDE's environment options kept in the settings store: the library search path
// the Find Source dialog and the IDE look for units in.
#pragma once

#include "platform/registry/Registry.h"

#include <memory>
#include <string>
#include <vector>

namespace vesk {

inline constexpr const char* IdeLibraryKeyName = "Software\\Borland\\Delphi\\3.0\\Library";
inline constexpr const char* SearchPathValueName = "SearchPath";

// The folders of the Free Pascal and Lazarus sources as their packages install them
// (/usr/share/fpcsrc/<version>/{rtl,packages}, /usr/share/lazarus/<version>/{lcl,
// components}), those that exist under Root ("/" on a real system), newest version last.
std::vector<std::string> InstalledSourceFolders(const std::string& root = "/");

// The path when none is set: the sample's folder, then the installed source folders,
// separated by ";".
std::string DefaultSearchPath(const std::string& sampleFolder,
                              const std::vector<std::string>& sourceFolders);

// The stored path; none when the value was never written.
bool ReadSearchPath(const std::shared_ptr<TRegistryFile>& store, std::string& path);
void WriteSearchPath(const std::shared_ptr<TRegistryFile>& store, const std::string& path);
// Writes the default when no path is stored, so that every reader of the key sees it;
// the path in effect.
std::string EnsureSearchPath(const std::shared_ptr<TRegistryFile>& store,
                             const std::string& defaultPath);

} // namespace vesk
