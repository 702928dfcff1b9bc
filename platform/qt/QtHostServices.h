// The host-library services on Qt: message boxes, the directory chooser and the
// open-file dialog as Qt dialogs, the screen's cursor as the application's override
// cursor, its designed forms as the windows registered with it, and pending events run
// by the Qt event loop.
#pragma once

#include "platform/ota/HostServices.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace vesk {

// The screen of a Qt host. A cursor other than crDefault is the application's override
// cursor (crHourGlass shows the wait cursor); crDefault takes it away again.
class TQtScreen : public TScreen {
public:
    ~TQtScreen() override;
    // Lists Window (the designer's window of Form) among the open forms until it is
    // destroyed or removed; forms are listed in the order they were added.
    void AddForm(QWidget* window, TComponent* form);
    void RemoveForm(const QWidget* window);
    int FormCount() const override;
    TComponent* Forms(int index) const override;

protected:
    void ShowCursor(TCursor value) override;

private:
    struct TFormEntry {
        QPointer<QWidget> Window;
        TComponent* Form;
    };
    std::vector<TFormEntry> Live() const;

    std::vector<TFormEntry> FForms;
    bool FOverride = false;
};

class TQtHostServices : public THostServices {
public:
    // Settings in Store; none: the default store (DefaultRegistryFile) at each use.
    explicit TQtHostServices(std::shared_ptr<TRegistryFile> store = nullptr);

    void ShowMessage(const std::string& text) override;
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                            TMsgDlgButtons buttons) override;
    bool SelectDirectory(std::string& directory, TSelectDirOpts options) override;
    bool ExecuteOpenDialog(TOpenDialog& dialog) override;
    TScreen& GetScreen() override { return FScreen; }
    void ProcessMessages() override;
    std::shared_ptr<TRegistryFile> SettingsStore() override;

    TQtScreen& Screen() { return FScreen; }

private:
    TQtScreen FScreen;
    std::shared_ptr<TRegistryFile> FStore;
};

// The open dialog's filter ("Pascal (*.pas;*.inc)|*.pas;*.inc|All Files (*.*)|*.*") as
// Qt's name filters ("Pascal (*.pas *.inc)", "All Files (*)"): the description without
// its own list of masks, then the masks; "*.*" matches every file, as it did.
QStringList NameFiltersOf(const std::string& filter);

} // namespace vesk
