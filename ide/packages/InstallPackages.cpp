#include "ide/packages/InstallPackages.h"

#include "platform/ota/HostServices.h"
#include "platform/qt/SlotGuard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

namespace vesk {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Title(const TPackageInfo& package) {
    if (!package.Description.empty() && package.Description != "(untitled)")
        return package.Description;
    return std::filesystem::path(package.FileName).stem().string();
}

} // namespace

TInstallPackagesDlg::TInstallPackagesDlg(TPackageLoader& loader, TRegistryFile& store,
                                         QWidget* parent)
    : QDialog(parent), FLoader(loader), FStore(store) {
    setObjectName("InstallPackagesDlg");
    setWindowTitle("Install Packages");

    lbCaption = new QLabel("Design packages:", this);
    lbCaption->setObjectName("lbCaption");
    lbPackages = new QListWidget(this);
    lbPackages->setObjectName("lbPackages");
    lbPackages->setMinimumSize(360, 160);
    lbCaption->setBuddy(lbPackages);

    lbFileCaption = new QLabel("File:", this);
    lbFileCaption->setObjectName("lbFileCaption");
    edFile = new QLineEdit(this);
    edFile->setObjectName("edFile");
    edFile->setReadOnly(true);
    lbStateCaption = new QLabel("State:", this);
    lbStateCaption->setObjectName("lbStateCaption");
    lbState = new QLabel(this);
    lbState->setObjectName("lbState");
    lbState->setWordWrap(true);
    lbState->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbState->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btnAdd = new QPushButton("&Add...", this);
    btnAdd->setObjectName("btnAdd");
    btnRemove = new QPushButton("&Remove", this);
    btnRemove->setObjectName("btnRemove");
    btnClose = new QPushButton("Close", this);
    btnClose->setObjectName("btnClose");
    btnClose->setDefault(true);

    auto* details = new QGridLayout;
    details->addWidget(lbFileCaption, 0, 0);
    details->addWidget(edFile, 0, 1);
    details->addWidget(lbStateCaption, 1, 0, Qt::AlignTop);
    details->addWidget(lbState, 1, 1);
    details->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAdd);
    buttons->addWidget(btnRemove);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(lbCaption);
    outer->addWidget(lbPackages, 1);
    outer->addLayout(details);
    outer->addLayout(buttons);

    connect(btnAdd, &QPushButton::clicked, this, &TInstallPackagesDlg::btnAddClick);
    connect(btnRemove, &QPushButton::clicked, this, &TInstallPackagesDlg::btnRemoveClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(lbPackages, &QListWidget::currentRowChanged, this, [this] { lbPackagesClick(); });

    ShowPackages();
    resize(sizeHint().expandedTo(QSize(480, 320)));
}

std::string TInstallPackagesDlg::SelectedFile() const {
    const int row = lbPackages->currentRow();
    if (row < 0 || row >= static_cast<int>(FShown.size()))
        return "";
    return FShown[static_cast<std::size_t>(row)].FileName;
}

void TInstallPackagesDlg::ShowPackages(const std::string& select) {
    const int oldRow = lbPackages->currentRow();
    FShown = FLoader.Packages();
    {
        const QSignalBlocker quiet(lbPackages);
        lbPackages->clear();
        for (const TPackageInfo& package : FShown) {
            auto* item = new QListWidgetItem(FromUtf8(Title(package)), lbPackages);
            item->setToolTip(FromUtf8(package.FileName));
            if (!package.Loaded)
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        }
    }
    int row = std::min(oldRow, static_cast<int>(FShown.size()) - 1);
    for (std::size_t i = 0; i < FShown.size(); ++i)
        if (!select.empty() && FShown[i].FileName == select)
            row = static_cast<int>(i);
    if (row < 0 && !FShown.empty())
        row = 0;
    {
        const QSignalBlocker quiet(lbPackages);
        lbPackages->setCurrentRow(row);
    }
    lbPackagesClick();
}

void TInstallPackagesDlg::lbPackagesClick() {
    const int row = lbPackages->currentRow();
    const bool selected = row >= 0 && row < static_cast<int>(FShown.size());
    btnRemove->setEnabled(selected);
    if (!selected) {
        edFile->clear();
        lbState->clear();
        return;
    }
    const TPackageInfo& package = FShown[static_cast<std::size_t>(row)];
    edFile->setText(FromUtf8(package.FileName));
    edFile->setCursorPosition(0);
    // The error names the file, which the line above shows already.
    std::string state = package.Loaded          ? "Loaded"
                        : package.Error.empty() ? "Not loaded"
                                                : package.Error;
    const std::string named = package.FileName + ": ";
    if (state.starts_with(named))
        state.erase(0, named.size());
    lbState->setText(FromUtf8(state));
}

void TInstallPackagesDlg::btnAddClick() {
    Guarded([this] {
        TOpenDialog dialog;
        dialog.Title = "Add Design Package";
        dialog.Filter = "Packages (*.so)|*.so";
        dialog.InitialDir = TPackageLoader::DefaultPackageDir();
        dialog.Options = ofHideReadOnly | ofPathMustExist | ofFileMustExist;
        if (!dialog.Execute())
            return;
        std::string error;
        const bool added = FLoader.Add(FStore, dialog.FileName, error);
        ShowPackages(added ? dialog.FileName : "");
        if (!added)
            HostServices().MessageDlg(error, TMsgDlgType::mtError, mbOK);
    });
}

void TInstallPackagesDlg::btnRemoveClick() {
    Guarded([this] {
        const std::string file = SelectedFile();
        if (file.empty())
            return;
        const std::string question = "Remove package " + file + "?";
        if (HostServices().MessageDlg(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
            return;
        FLoader.Remove(FStore, file);
        ShowPackages();
    });
}

void ShowInstallPackages(TPackageLoader& loader, TRegistryFile& store, QWidget* parent) {
    TInstallPackagesDlg dialog(loader, store, parent);
    dialog.exec();
}

} // namespace vesk
