// The IDE's tool services: every interface the add-in reaches the IDE through, over
// the main window's parts. The menus are the window's menu bar, an editor is a module's
// source editor, a form its component model. Each object handed out is a small handle
// that carries one reference for its receiver and finds its part again at every call,
// so a handle kept after its module or menu item is gone answers as for nothing there.
#pragma once

#include "platform/ota/ToolServices.h"

#include <QKeySequence>
#include <QList>
#include <QPointer>

class QAction;

namespace vesk {

class TIdeWindow;

class TIdeToolServices : public TIToolServices {
public:
    // Becomes the process's ToolServices; the one installed before comes back when it ends.
    explicit TIdeToolServices(TIdeWindow& window);
    ~TIdeToolServices() override;
    TIdeToolServices(const TIdeToolServices&) = delete;
    TIdeToolServices& operator=(const TIdeToolServices&) = delete;

    TIMainMenuIntf* GetMainMenu() override;
    std::string GetCurrentFile() override;
    TIModuleInterface* GetModuleInterface(const std::string& fileName) override;
    bool CloseProject() override;
    bool OpenProject(const std::string& fileName) override;
    bool OpenFile(const std::string& fileName) override;

    // Handles alive in the process: 0 once every reference handed out was given back.
    static int LiveObjects();

private:
    QPointer<TIdeWindow> FWindow;
    TIToolServices* FPrevious;
};

// A menu shortcut as Qt's key sequences: "Alt+Enter" is both Alt+Return and the keypad's
// Alt+Enter. None for 0 or a key without a name.
QList<QKeySequence> KeySequencesOf(TShortCut shortCut);

} // namespace vesk
