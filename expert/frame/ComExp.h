// What the user is working on in the IDE, for the tools: the module of the file in the
// active editor, its editor, the editor's whole text, the live form being designed, and
// moving the editor's caret and view. Every other unit reaches the editor and the
// designer through these routines. A missing object at any step gives none (or does
// nothing), without a message; every reference taken on the way is given back.
#pragma once

#include "platform/ota/ToolServices.h"
#include "platform/rtl/Classes.h"

#include <memory>

namespace vesk {

class TComponent;

// The module of the active editor's file, a form file standing for its unit; none
// without tool services or an active file. The caller gives up the reference (Free).
TIModuleInterface* GetCurModuleIntf();
// That module's source editor, or none. The caller gives up the reference.
TIEditorInterface* GetCurEditIntf();
// The editor's whole text, one line per entry, or none without an editor.
std::unique_ptr<TStringList> GetCurrentFile();
// The live form designed in that module, or none (the host keeps it). When the form
// is not open, the host is asked to show it, so that a second try can find it.
TComponent* GetActiveForm();
// Moves the caret to CursorPos and scrolls TopPos to the top-left of the view; a
// TopPos line below 0 (no position was found) leaves the editor alone.
void SetCursorPos(TEditPos topPos, TEditPos cursorPos);
// Where the caret of the active editor's first view stands; line -1 without one.
TEditPos GetCursorPos();

// The unit a file name stands for: a form file's ".dfm" or ".lfm" ending (any case)
// becomes "pas"; any other name stays as it is.
std::string UnitFileOf(const std::string& fileName);

} // namespace vesk
