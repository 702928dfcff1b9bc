// The host library's services the add-in's windows and engines use: message boxes,
// the directory chooser, the open-file dialog, the screen (its designed forms and its
// cursor), letting pending events run, and the settings store. A host installs one
// implementation (Qt widgets in the IDE, scripted answers in the headless host).
#pragma once

#include "platform/controls/Forms.h"
#include "platform/registry/Registry.h"

#include <functional>
#include <memory>
#include <string>

namespace vesk {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgButtons mbYes = 1u << 0;
inline constexpr TMsgDlgButtons mbNo = 1u << 1;
inline constexpr TMsgDlgButtons mbOK = 1u << 2;
inline constexpr TMsgDlgButtons mbCancel = 1u << 3;
inline constexpr TMsgDlgButtons mbAbort = 1u << 4;
inline constexpr TMsgDlgButtons mbRetry = 1u << 5;
inline constexpr TMsgDlgButtons mbIgnore = 1u << 6;

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;

using TSelectDirOpts = unsigned;
inline constexpr TSelectDirOpts sdAllowCreate = 1u << 0;   // a new name may be typed
inline constexpr TSelectDirOpts sdPerformCreate = 1u << 1; // and is created
inline constexpr TSelectDirOpts sdPrompt = 1u << 2;        // asks before creating

using TOpenOptions = unsigned;
inline constexpr TOpenOptions ofHideReadOnly = 1u << 0;
inline constexpr TOpenOptions ofPathMustExist = 1u << 1;
inline constexpr TOpenOptions ofFileMustExist = 1u << 2;

// The open-file dialog. Filter holds pairs "description|masks", masks separated by
// ";" ("Pascal (*.pas)|*.pas|All Files (*.*)|*.*"); FilterIndex counts them from 1.
class TOpenDialog {
public:
    std::string Filter;
    int FilterIndex = 1;
    std::string FileName; // in: the name proposed; out: the file chosen
    std::string InitialDir;
    std::string Title;
    TOpenOptions Options = ofHideReadOnly;

    // Shows the dialog through the installed host; true when the user chose a file,
    // which FileName then names.
    bool Execute();
};

class THostServices {
public:
    virtual ~THostServices() = default;

    // A plain message box with one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A message box of a kind with the given buttons; the button pressed.
    virtual TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                                    TMsgDlgButtons buttons) = 0;
    // Directory: in, where the chooser starts ("" for nowhere in particular); out, the
    // directory chosen. False (Directory unchanged) when the user cancels.
    virtual bool SelectDirectory(std::string& directory, TSelectDirOpts options) = 0;
    virtual bool ExecuteOpenDialog(TOpenDialog& dialog) = 0;
    // The screen this host installs as the process's Screen(), which callers use: its
    // cursor and the designed forms that are open.
    virtual TScreen& GetScreen() = 0;
    // Lets the user's pending events run (they may call back into the caller).
    virtual void ProcessMessages() = 0;
    // The store the add-in's settings and the IDE's own keys are kept in.
    virtual std::shared_ptr<TRegistryFile> SettingsStore() = 0;
};

// The installed host's services; without one, a headless set that shows nothing to
// anyone, answers every question as cancelled and keeps its settings in the default
// store.
THostServices& HostServices();
// Installs Services (not owned) and its screen as the process's Screen(); none goes
// back to the headless default.
void SetHostServices(THostServices* services);
// The services installed with SetHostServices, or none.
THostServices* InstalledHostServices();

// The text an exception shows in the host's error box.
std::string ExceptionText(const std::exception_ptr& error);

// Runs Handler as the host runs an event: an exception it raises is shown in the
// host's error box (mtError, OK) and goes no further. False when it raised one.
bool RunHandler(const std::function<void()>& handler) noexcept;

} // namespace vesk
