// Tools > Environment Options: the library search path, kept in the settings store
// where the Find Source dialog reads it.
#pragma once

#include "platform/registry/Registry.h"

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;

namespace vesk {

class TEnvironmentOptionsDlg : public QDialog {
    Q_OBJECT
public:
    // Shows the stored path (the default when none is stored).
    TEnvironmentOptionsDlg(std::shared_ptr<TRegistryFile> store, QWidget* parent = nullptr);

    QLineEdit* edSearchPath = nullptr;
    QPushButton* btnAddFolder = nullptr;

    // OK: the path is written; a store that cannot be written is shown in the error box
    // and the dialog stays open.
    void accept() override;

private:
    void AddFolder();

    std::shared_ptr<TRegistryFile> FStore;
};

// The sample project's folder: <the program's folder>/../share/vesk/examples/sample when
// installed there, else the source tree's examples/sample.
std::string SampleFolder();

// The search path when none is stored: the sample's folder (SampleFolder in its place
// when given), the sources of the IDE's own packages and the installed Free Pascal and
// Lazarus sources.
std::string IdeDefaultSearchPath(const std::string& sampleFolder = "");

} // namespace vesk
