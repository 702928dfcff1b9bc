// What the add-in's tool windows share: their place on the screen kept in the
// registry from one run to the next, and a key filter that types one character into
// an edit box exactly as the user would.
#pragma once

#include "platform/controls/FormIntf.h"

#include <memory>
#include <string>

namespace vesk {

class TRegistryFile;

// The root key of the add-in's settings under HKEY_CURRENT_USER.
inline constexpr const char* VeskRegistryRoot = "Software\\Borland\\Delphi\\Makory";

// The stored value "Top Left Height Width" (or "Top Left") under Key, named after the
// window + "FormPlacement", in Store (none: the host's settings store). A missing value
// changes nothing; a malformed one raises EConvertError after the numbers before it have
// been applied. A write inside an update of the same store joins it.
void ReadFormPlacement(IFormBounds& form, const std::string& key,
                       const std::shared_ptr<TRegistryFile>& store = nullptr);
void WriteFormPlacement(const IFormBounds& form, const std::string& key,
                        const std::shared_ptr<TRegistryFile>& store = nullptr);
void ReadFormPosition(IFormBounds& form, const std::string& key,
                      const std::shared_ptr<TRegistryFile>& store = nullptr);
void WriteFormPosition(const IFormBounds& form, const std::string& key,
                       const std::shared_ptr<TRegistryFile>& store = nullptr);

// Applies one typed character (8 is backspace) to the edit's text and selection.
void edKeyChar(char key, IEditBox& edit);

} // namespace vesk
