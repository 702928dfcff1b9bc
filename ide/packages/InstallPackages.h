// Component > Install Packages: the packages the IDE knows, each with its file and
// whether it is loaded (or why not), and the two changes a user makes to them: add a
// package file (it is loaded and listed at once) and remove one (it is unloaded and no
// longer listed). Every change applies when it is made, so the window has one Close
// button and nothing to cancel.
#pragma once

#include "ide/core/PackageLoader.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vesk {

class TInstallPackagesDlg : public QDialog {
    Q_OBJECT
public:
    // Loader and Store are not owned and outlive the window.
    TInstallPackagesDlg(TPackageLoader& loader, TRegistryFile& store, QWidget* parent = nullptr);

    // The controls, by the names their objects carry.
    QLabel* lbCaption = nullptr;
    QListWidget* lbPackages = nullptr;
    QLabel* lbFileCaption = nullptr;
    QLineEdit* edFile = nullptr;
    QLabel* lbStateCaption = nullptr;
    QLabel* lbState = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnRemove = nullptr;
    QPushButton* btnClose = nullptr;

public slots:
    // The open-file dialog for a package; the chosen one is installed and selected, or
    // its error is shown.
    void btnAddClick();
    // After the user's yes, the selected package is unloaded and removed from the list.
    void btnRemoveClick();
    // The selected package's file and state are shown.
    void lbPackagesClick();
    // The list follows the loader; the package at Select (or the same row) is selected.
    void ShowPackages(const std::string& select = "");

private:
    std::string SelectedFile() const;

    TPackageLoader& FLoader;
    TRegistryFile& FStore;
    std::vector<TPackageInfo> FShown; // row i shows FShown[i]
};

// Shows the window modally.
void ShowInstallPackages(TPackageLoader& loader, TRegistryFile& store, QWidget* parent);

} // namespace vesk
