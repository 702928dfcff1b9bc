#include "platform/qt/QtHostServices.h"

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <filesystem>
#include <system_error>

namespace vesk {

namespace {

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string S(const QString& text) {
    return text.toUtf8().toStdString();
}

QWidget* DialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

Qt::CursorShape ShapeOf(TCursor cursor) {
    switch (cursor) {
    case crHourGlass:
        return Qt::WaitCursor;
    case crArrow:
    default:
        return Qt::ArrowCursor;
    }
}

struct TButtonMap {
    TMsgDlgButtons Button;
    QMessageBox::StandardButton Qt;
    TModalResult Result;
};
constexpr std::array<TButtonMap, 7> Buttons{{{mbYes, QMessageBox::Yes, mrYes},
                                             {mbNo, QMessageBox::No, mrNo},
                                             {mbOK, QMessageBox::Ok, mrOk},
                                             {mbCancel, QMessageBox::Cancel, mrCancel},
                                             {mbAbort, QMessageBox::Abort, mrAbort},
                                             {mbRetry, QMessageBox::Retry, mrRetry},
                                             {mbIgnore, QMessageBox::Ignore, mrIgnore}}};

} // namespace

// The screen

TQtScreen::~TQtScreen() {
    if (FOverride)
        QGuiApplication::restoreOverrideCursor();
}

void TQtScreen::ShowCursor(TCursor value) {
    if (value == crDefault) {
        if (FOverride)
            QGuiApplication::restoreOverrideCursor();
        FOverride = false;
    } else if (FOverride) {
        QGuiApplication::changeOverrideCursor(QCursor(ShapeOf(value)));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(ShapeOf(value)));
        FOverride = true;
    }
}

void TQtScreen::AddForm(QWidget* window, TComponent* form) {
    RemoveForm(window);
    if (window && form)
        FForms.push_back({window, form});
}

void TQtScreen::RemoveForm(const QWidget* window) {
    std::erase_if(FForms,
                  [window](const TFormEntry& e) { return !e.Window || e.Window == window; });
}

std::vector<TQtScreen::TFormEntry> TQtScreen::Live() const {
    std::vector<TFormEntry> live;
    for (const TFormEntry& e : FForms)
        if (e.Window)
            live.push_back(e);
    return live;
}

int TQtScreen::FormCount() const {
    return static_cast<int>(Live().size());
}

TComponent* TQtScreen::Forms(int index) const {
    const std::vector<TFormEntry> live = Live();
    if (index < 0 || index >= static_cast<int>(live.size()))
        return nullptr;
    return live[static_cast<std::size_t>(index)].Form;
}

// The services

TQtHostServices::TQtHostServices(std::shared_ptr<TRegistryFile> store) : FStore(std::move(store)) {}

void TQtHostServices::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), Q(text),
                    QMessageBox::Ok, DialogParent());
    box.setObjectName("ShowMessage");
    box.exec();
}

TModalResult TQtHostServices::MessageDlg(const std::string& text, TMsgDlgType type,
                                         TMsgDlgButtons buttons) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title = QApplication::applicationDisplayName();
    switch (type) {
    case TMsgDlgType::mtWarning:
        icon = QMessageBox::Warning;
        title = "Warning";
        break;
    case TMsgDlgType::mtError:
        icon = QMessageBox::Critical;
        title = "Error";
        break;
    case TMsgDlgType::mtInformation:
        icon = QMessageBox::Information;
        title = "Information";
        break;
    case TMsgDlgType::mtConfirmation:
        icon = QMessageBox::Question;
        title = "Confirm";
        break;
    case TMsgDlgType::mtCustom:
        break;
    }
    QMessageBox::StandardButtons shown;
    for (const TButtonMap& b : Buttons)
        if (buttons & b.Button)
            shown |= b.Qt;
    if (!shown)
        shown = QMessageBox::Ok; // a box the user could not close would hang the host
    QMessageBox box(icon, title, Q(text), shown, DialogParent());
    box.setObjectName("MessageDlg");
    const int pressed = box.exec();
    for (const TButtonMap& b : Buttons)
        if (pressed == b.Qt)
            return b.Result;
    return mrCancel; // closed by Esc or the window's close button
}

bool TQtHostServices::SelectDirectory(std::string& directory, TSelectDirOpts options) {
    QFileDialog dialog(DialogParent(), "Select Directory", Q(directory));
    dialog.setObjectName("SelectDirectory");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    if (!(options & sdAllowCreate))
        dialog.setOption(QFileDialog::ReadOnly); // no new folders
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const std::string chosen = S(dialog.selectedFiles().first());
    if ((options & sdPerformCreate) && !DirectoryExists(chosen)) {
        if ((options & sdPrompt) &&
            MessageDlg("The " + chosen + " directory does not exist. Create it?",
                       TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
            return false;
        std::error_code error;
        std::filesystem::create_directories(chosen, error);
        if (error) {
            MessageDlg("Cannot create directory " + chosen + ": " + error.message(),
                       TMsgDlgType::mtError, mbOK);
            return false;
        }
    }
    directory = chosen;
    return true;
}

bool TQtHostServices::ExecuteOpenDialog(TOpenDialog& dialog) {
    QString dir = Q(dialog.InitialDir);
    if (dir.isEmpty() && !dialog.FileName.empty())
        dir = Q(ExtractFilePath(dialog.FileName));
    QFileDialog box(DialogParent(), Q(dialog.Title.empty() ? "Open" : dialog.Title), dir);
    box.setObjectName("OpenDialog");
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setAcceptMode(QFileDialog::AcceptOpen);
    box.setFileMode((dialog.Options & ofFileMustExist) ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    const QStringList filters = NameFiltersOf(dialog.Filter);
    if (!filters.isEmpty()) {
        box.setNameFilters(filters);
        const int index = std::clamp(dialog.FilterIndex, 1, static_cast<int>(filters.size()));
        box.selectNameFilter(filters[index - 1]);
    }
    if (!dialog.FileName.empty())
        box.selectFile(Q(ExtractFileName(dialog.FileName)));
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return false;
    const std::string chosen = S(box.selectedFiles().first());
    if ((dialog.Options & ofPathMustExist) && !DirectoryExists(ExtractFilePath(chosen)))
        return false;
    dialog.FileName = chosen;
    dialog.FilterIndex = static_cast<int>(filters.indexOf(box.selectedNameFilter())) + 1;
    return true;
}

void TQtHostServices::ProcessMessages() {
    QCoreApplication::processEvents();
}

std::shared_ptr<TRegistryFile> TQtHostServices::SettingsStore() {
    // Without a store of its own: the default one as the environment names it now.
    return FStore ? FStore : TRegistryFile::Open(DefaultRegistryFile());
}

QStringList NameFiltersOf(const std::string& filter) {
    const QStringList parts = Q(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (description.endsWith(')')) {
            const qsizetype open = description.lastIndexOf('(');
            if (open >= 0)
                description = description.left(open).trimmed();
        }
        QStringList masks;
        for (const QString& mask : parts[i + 1].split(';', Qt::SkipEmptyParts))
            masks << (mask.trimmed() == "*.*" ? QString("*") : mask.trimmed());
        if (masks.isEmpty())
            masks << "*";
        filters << description + " (" + masks.join(' ') + ")";
    }
    return filters;
}

} // namespace vesk
