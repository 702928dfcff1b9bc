// A complete host without a window system, for the tests and the command line: modules
// over real files (a unit's text in an editor buffer, its form file read into the
// component model), readers that return the pieces asked for, views that remember their
// caret and top line, a main menu whose items can be picked, the designed forms open on
// the screen, and scripted answers for the dialogs. It accounts for every reference it
// hands out, so a test can see that the add-in gave back what it took.
#pragma once

#include "platform/forms/FormFile.h"
#include "platform/ota/Expert.h"
#include "platform/ota/HostServices.h"
#include "platform/ota/ToolServices.h"

#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vesk {

// A screen whose designed forms are a list the host keeps (not owned).
class THeadlessScreen : public TScreen {
public:
    int FormCount() const override { return static_cast<int>(FForms.size()); }
    TComponent* Forms(int index) const override;
    void AddForm(TComponent* form);
    void RemoveForm(const TComponent* form);

private:
    std::vector<TComponent*> FForms;
};

// The host-library services with answers a test scripts and a record of what was shown.
// Unscripted questions are answered as a user who declines would: cancelled choosers,
// and "Cancel" (else "No", else "OK") for message boxes.
class THeadlessServices : public THostServices {
public:
    struct TShownMessage {
        std::string Text;
        TMsgDlgType Type = TMsgDlgType::mtCustom;
        TMsgDlgButtons Buttons = mbOK;
        bool Plain = false; // ShowMessage
        bool operator==(const TShownMessage&) const = default;
    };
    struct TDirectoryRequest {
        std::string Start;
        TSelectDirOpts Options = 0;
    };

    // Settings in Store; none: the default store (DefaultRegistryFile) at each use.
    explicit THeadlessServices(std::shared_ptr<TRegistryFile> store = nullptr);

    void ShowMessage(const std::string& text) override;
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                            TMsgDlgButtons buttons) override;
    bool SelectDirectory(std::string& directory, TSelectDirOpts options) override;
    bool ExecuteOpenDialog(TOpenDialog& dialog) override;
    TScreen& GetScreen() override { return FScreen; }
    void ProcessMessages() override;
    std::shared_ptr<TRegistryFile> SettingsStore() override;

    // The script: each answer is used once, in order.
    void AnswerMessage(TModalResult result) { FMessageAnswers.push_back(result); }
    void AnswerDirectory(std::optional<std::string> directory) {
        FDirectoryAnswers.push_back(std::move(directory));
    }
    void AnswerOpenDialog(std::optional<std::string> fileName) {
        FOpenAnswers.push_back(std::move(fileName));
    }
    // Runs on every ProcessMessages: the user's events that were pending.
    std::function<void()> OnProcessMessages;

    // What was shown.
    const std::vector<TShownMessage>& Messages() const { return FMessages; }
    std::vector<std::string> Errors() const; // the texts of the error boxes
    const std::vector<TDirectoryRequest>& DirectoryRequests() const { return FDirectoryRequests; }
    const std::vector<TOpenDialog>& OpenDialogs() const { return FOpenDialogs; }
    int ProcessMessagesCount() const { return FProcessMessagesCount; }
    void ClearRecord();

    THeadlessScreen& Screen() { return FScreen; }

private:
    std::shared_ptr<TRegistryFile> FStore;
    THeadlessScreen FScreen;
    std::deque<TModalResult> FMessageAnswers;
    std::deque<std::optional<std::string>> FDirectoryAnswers;
    std::deque<std::optional<std::string>> FOpenAnswers;
    std::vector<TShownMessage> FMessages;
    std::vector<TDirectoryRequest> FDirectoryRequests;
    std::vector<TOpenDialog> FOpenDialogs;
    int FProcessMessagesCount = 0;
};

class THeadlessModule;
class THeadlessMainMenu;

// What the host knows of each object it made: whether it still lives, and how many of
// its references the host's own objects hold (the rest were handed out).
class THostedObject {
public:
    virtual ~THostedObject() = default;
    virtual int References() const = 0;
    int HostReferences = 0;
    class THeadlessHost* Host = nullptr; // none once the host has ended
};

// While it lives, the host is the process's ToolServices, HostServices() and expert
// host; it puts back what was installed before when it ends.
class THeadlessHost : public TIToolServices, public TExpertHost {
public:
    struct TCall {
        std::string Operation; // "CloseProject", "OpenProject" or "OpenFile"
        std::string FileName;  // empty for CloseProject
        bool operator==(const TCall&) const = default;
    };

    explicit THeadlessHost(std::shared_ptr<TRegistryFile> settings = nullptr);
    ~THeadlessHost() override;
    THeadlessHost(const THeadlessHost&) = delete;
    THeadlessHost& operator=(const THeadlessHost&) = delete;

    THeadlessServices& Services() { return FServices; }
    const THeadlessServices& Services() const { return FServices; }

    // Tool services.
    TIMainMenuIntf* GetMainMenu() override;
    std::string GetCurrentFile() override { return FCurrentFile; }
    TIModuleInterface* GetModuleInterface(const std::string& fileName) override;
    bool CloseProject() override;
    bool OpenProject(const std::string& fileName) override;
    // Opens the file as a module and makes it the active editor file; a file that
    // cannot be read is reported in an error box and gives false.
    bool OpenFile(const std::string& fileName) override;

    // Modules. A unit's form file is the file beside it with the same base name and
    // the ending .dfm or .lfm (any case). OpenModule raises EInOutError or EFormError.
    void OpenModule(const std::string& fileName);
    void AddModule(const std::string& fileName, std::string text,
                   std::unique_ptr<TFormFile> form = nullptr);
    void CloseModule(const std::string& fileName);
    bool HasModule(const std::string& fileName) const;
    // What GetCurrentFile answers.
    void SetCurrentFile(const std::string& fileName) { FCurrentFile = fileName; }
    // Opens the module's form in the designer (on the screen) and makes its form file
    // the active one, as the designer does; false when the module has no form.
    bool ShowDesigner(const std::string& fileName);
    void CloseDesigner(const std::string& fileName);

    // What the module's editor and form hold; a module not open raises Exception.
    const std::string& EditorText(const std::string& fileName) const;
    void SetEditorText(const std::string& fileName, std::string text);
    TEditPos CursorPos(const std::string& fileName) const;
    TEditPos TopPos(const std::string& fileName) const;
    // Every SetPos of its view, in order.
    struct TSetPos {
        int Index;
        TEditPos Pos;
        bool operator==(const TSetPos&) const = default;
    };
    const std::vector<TSetPos>& SetPosCalls(const std::string& fileName) const;
    int ReadCount(const std::string& fileName) const; // GetText calls of its readers
    int ShowFormCount(const std::string& fileName) const;
    TComponent* FormRoot(const std::string& fileName) const; // none without a form
    // The names GetModuleInterface was asked for, in order.
    const std::vector<std::string>& ModuleRequests() const { return FModuleRequests; }

    // The main menu: top-level menus appended by the host, found by the captions on
    // the way to them, and picked as the user picks them (the handler runs as the host
    // runs events: an exception goes to the error box).
    void AddMainMenu(const std::string& caption, const std::string& name);
    void SetMainMenuAvailable(bool available) { FMainMenuAvailable = available; }
    void SetMenuItemsAvailable(bool available) { FMenuItemsAvailable = available; }
    // Borrowed: the host keeps the item. None when there is no such item.
    TIMenuItemIntf* FindMenuItem(const std::vector<std::string>& captions) const;
    TIMenuItemIntf* FindMenuItemByName(const std::string& name) const;
    // The captions of the items below the path (the top-level menus for {}).
    std::vector<std::string> MenuCaptions(const std::vector<std::string>& captions) const;
    // False when there is no such item, or it is disabled or hidden.
    bool PickMenuItem(const std::vector<std::string>& captions);

    // Experts registered with the host, in order; released when the host ends (or
    // now, last first).
    void RegisterExpert(TIExpert* expert) override;
    int ExpertCount() const { return static_cast<int>(FExperts.size()); }
    TIExpert* Experts(int index) const { return FExperts.at(static_cast<std::size_t>(index)); }
    void ReleaseExperts();

    // The project operations asked for, in order.
    const std::vector<TCall>& Calls() const { return FCalls; }
    void ClearCalls() { FCalls.clear(); }
    // What CloseProject answers: false plays a user who refuses to close.
    void SetCloseProjectResult(bool result) { FCloseProjectResult = result; }
    const std::string& Project() const { return FProject; }
    // The files OpenFile opened, in order, each once.
    const std::vector<std::string>& OpenFiles() const { return FOpenFiles; }

    // References to the host's objects that others hold: 0 when every reference the
    // host handed out was given back.
    int HandedOut() const;

    // Book-keeping of the host's objects (each one tracks itself while it lives).
    void Track(THostedObject* object) { FTracked.insert(object); }
    void Untrack(THostedObject* object) { FTracked.erase(object); }

private:
    THeadlessModule* Module(const std::string& fileName) const;
    THeadlessModule& ExistingModule(const std::string& fileName) const;
    void InsertModule(const std::string& fileName, std::string text,
                      std::unique_ptr<TFormFile> form, std::string formFileName);

    THeadlessServices FServices;
    THostServices* FPreviousServices;
    TIToolServices* FPreviousTools;
    TExpertHost* FPreviousExperts;
    std::string FCurrentFile;
    std::vector<THeadlessModule*> FModules; // one host reference each
    std::vector<std::string> FModuleRequests;
    THeadlessMainMenu* FMainMenu = nullptr; // one host reference
    bool FMainMenuAvailable = true;
    bool FMenuItemsAvailable = true;
    std::vector<TIExpert*> FExperts; // one reference each
    std::vector<TCall> FCalls;
    bool FCloseProjectResult = true;
    std::string FProject;
    std::vector<std::string> FOpenFiles;
    std::set<THostedObject*> FTracked;
};

} // namespace vesk
