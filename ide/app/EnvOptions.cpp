#include "ide/app/EnvOptions.h"

#include "ide/core/PackageLoader.h"
#include "ide/project/Environment.h"
#include "platform/ota/HostServices.h"
#include "platform/qt/SlotGuard.h"
#include "platform/rtl/SysUtils.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>

namespace vesk {

std::string SampleFolder() {
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed) {
        const std::filesystem::path installed =
            (program.parent_path() / ".." / "share" / "vesk" / "examples" / "sample")
                .lexically_normal();
        if (std::filesystem::is_directory(installed, failed))
            return installed.string();
    }
    return VESK_SAMPLE_DIR;
}

std::string IdeDefaultSearchPath(const std::string& sampleFolder) {
    std::vector<std::string> folders{TPackageLoader::DefaultPackageSourceDir()};
    for (std::string& folder : InstalledSourceFolders())
        folders.push_back(std::move(folder));
    return DefaultSearchPath(sampleFolder.empty() ? SampleFolder() : sampleFolder, folders);
}

TEnvironmentOptionsDlg::TEnvironmentOptionsDlg(std::shared_ptr<TRegistryFile> store,
                                               QWidget* parent)
    : QDialog(parent), FStore(std::move(store)) {
    setObjectName("EnvironmentOptions");
    setWindowTitle("Environment Options");
    auto* layout = new QGridLayout(this);
    auto* label = new QLabel("&Library path:", this);
    edSearchPath = new QLineEdit(this);
    edSearchPath->setObjectName("edSearchPath");
    edSearchPath->setMinimumWidth(520);
    label->setBuddy(edSearchPath);
    btnAddFolder = new QPushButton("&Add Folder...", this);
    btnAddFolder->setObjectName("btnAddFolder");
    auto* hint =
        new QLabel("Folders separated by \";\". The Find Source dialog searches them.", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(edSearchPath, 0, 1);
    layout->addWidget(btnAddFolder, 0, 2);
    layout->addWidget(hint, 1, 1, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 3);
    connect(buttons, &QDialogButtonBox::accepted, this, &TEnvironmentOptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TEnvironmentOptionsDlg::reject);
    connect(btnAddFolder, &QPushButton::clicked, this, GuardedSlot([this] { AddFolder(); }));

    std::string path;
    try {
        if (!ReadSearchPath(FStore, path))
            path = IdeDefaultSearchPath();
    } catch (const Exception& e) {
        HostServices().MessageDlg(e.Message(), TMsgDlgType::mtError, mbOK);
        path = IdeDefaultSearchPath();
    }
    edSearchPath->setText(QString::fromStdString(path));
}

void TEnvironmentOptionsDlg::AddFolder() {
    std::string folder;
    if (!HostServices().SelectDirectory(folder, 0))
        return;
    QString path = edSearchPath->text();
    if (!path.isEmpty() && !path.endsWith(';'))
        path += ';';
    edSearchPath->setText(path + QString::fromStdString(folder));
}

void TEnvironmentOptionsDlg::accept() {
    try {
        WriteSearchPath(FStore, edSearchPath->text().toStdString());
    } catch (const Exception& e) {
        HostServices().MessageDlg(e.Message(), TMsgDlgType::mtError, mbOK);
        return;
    }
    QDialog::accept();
}

} // namespace vesk
