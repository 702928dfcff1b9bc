// The IDE as the add-in reaches it: the global tool-services object (none when no host
// offers it) and the objects it hands out. Every object a host operation returns
// carries one reference for its receiver, given up with Free; none is returned as a
// null pointer.
#pragma once

#include "platform/ota/EditPos.h"
#include "platform/ota/Interface.h"
#include "platform/ota/ShortCut.h"

#include <functional>
#include <string>

namespace vesk {

class TIMenuItemIntf;
class TIEditorInterface;
class TIFormInterface;

// Menu item flags: a set in which bit 1 enables and bit 2 shows an item (6 does both).
using TIMenuFlags = unsigned;
inline constexpr TIMenuFlags mfInvalid = 1u << 0;
inline constexpr TIMenuFlags mfEnabled = 1u << 1;
inline constexpr TIMenuFlags mfVisible = 1u << 2;
inline constexpr TIMenuFlags mfChecked = 1u << 3;
inline constexpr TIMenuFlags mfBreak = 1u << 4;
inline constexpr TIMenuFlags mfBarBreak = 1u << 5;
inline constexpr TIMenuFlags mfRadioItem = 1u << 6;

// Called with the picked item (a reference the handler does not own).
using TIMenuClickEvent = std::function<void(TIMenuItemIntf* sender)>;

// One item of the host's menu, or the list of top-level menus.
class TIMenuItemIntf : public TInterface {
public:
    // Sub-items.
    virtual int GetItemCount() = 0;
    virtual TIMenuItemIntf* GetItem(int index) = 0; // none when out of range
    virtual TIMenuItemIntf* GetParent() = 0;        // none for the top-level list
    virtual int GetIndex() = 0;                     // among its parent's items; -1 when none
    // Inserts a sub-item at Index (clamped to 0..count) and returns it.
    virtual TIMenuItemIntf* InsertItem(int index, const std::string& caption,
                                       const std::string& name, const std::string& hint,
                                       TShortCut shortCut, int context, int groupIndex,
                                       TIMenuFlags flags, TIMenuClickEvent onClick) = 0;
    // Takes the item and its sub-items out of the menu; true when it was in it.
    virtual bool DestroyMenuItem() = 0;

    // What the host shows.
    virtual std::string GetCaption() = 0;
    virtual std::string GetName() = 0;
    virtual std::string GetHint() = 0;
    virtual TShortCut GetShortCut() = 0;
    virtual int GetContext() = 0;
    virtual int GetGroupIndex() = 0;
    virtual TIMenuFlags GetFlags() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetFlags(TIMenuFlags mask, TIMenuFlags flags) = 0; // only the bits of Mask
};

class TIMainMenuIntf : public TInterface {
public:
    // The list of top-level menus, or none.
    virtual TIMenuItemIntf* GetMenuItems() = 0;
};

// A reader of an editor buffer.
class TIEditReader : public TInterface {
public:
    // Copies up to Count characters from the 0-based Position into Buffer and returns
    // how many it copied: fewer than Count only at the end of the buffer.
    virtual int GetText(int position, char* buffer, int count) = 0;
};

inline constexpr int EditViewCursor = 0; // SetPos index: the caret
inline constexpr int EditViewTop = 1;    // SetPos index: the top-left of the view

class TIEditView : public TInterface {
public:
    // Index 0 moves the caret to Pos; index 1 scrolls so that Pos is the top-left.
    virtual void SetPos(int index, TEditPos pos) = 0;
    virtual TEditPos GetPos(int index) = 0;
};

class TIEditorInterface : public TInterface {
public:
    virtual std::string FileName() = 0;
    virtual TIEditReader* CreateReader() = 0;
    virtual int GetViewCount() = 0;
    virtual TIEditView* GetView(int index) = 0; // none when there is no such view
};

// A component of a designed form.
class TIComponentInterface : public TInterface {
public:
    virtual std::string GetComponentType() = 0;
    // A property's value as text; false when the component has no such property.
    virtual bool GetPropValueByName(const std::string& name, std::string& value) = 0;
};

class TIFormInterface : public TInterface {
public:
    virtual std::string FileName() = 0;
    // The form's own component, or none.
    virtual TIComponentInterface* GetFormComponent() = 0;
};

// An open module: a unit with its source editor and, when it has one, its form.
class TIModuleInterface : public TInterface {
public:
    virtual TIEditorInterface* GetEditorInterface() = 0; // none without a source editor
    virtual TIFormInterface* GetFormInterface() = 0;     // none for a unit without a form
    // Shows the module's form in the designer; false when it has none.
    virtual bool ShowForm() = 0;
};

class TIToolServices {
public:
    virtual ~TIToolServices() = default;
    virtual TIMainMenuIntf* GetMainMenu() = 0; // none when the host has no menu
    // The full name of the file in the active editor ("" when none); a form file shown
    // there ends in its form extension.
    virtual std::string GetCurrentFile() = 0;
    // The open module of that unit file, or none.
    virtual TIModuleInterface* GetModuleInterface(const std::string& fileName) = 0;
    // True when the current project was closed (the user may refuse).
    virtual bool CloseProject() = 0;
    // Opens a project file as the IDE's project.
    virtual bool OpenProject(const std::string& fileName) = 0;
    // Opens a file in the editor.
    virtual bool OpenFile(const std::string& fileName) = 0;
};

// The host's tool services, or none. Set by the host before it loads the add-in.
extern TIToolServices* ToolServices;

class TComponent;

// What a host's component interface answers for GetPropValueByName over the component
// model: "Name", or a stored integer, string or identifier as text. False for a
// property not stored, or one whose value no text stands for (a set, a list, binary
// data).
bool ComponentPropValueByName(const TComponent& component, const std::string& name,
                              std::string& value);

} // namespace vesk
