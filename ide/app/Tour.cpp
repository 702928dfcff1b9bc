#include "ide/app/Tour.h"

#include "ide/app/EnvOptions.h"
#include "ide/app/IdeWindow.h"
#include "ide/app/UserActions.h"
#include "ide/designer/ComponentPalette.h"
#include "ide/designer/ObjectProperties.h"
#include "ide/form/FormView.h"
#include "ide/project/Environment.h"
#include "platform/forms/FormFile.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <functional>

namespace vesk {

namespace {

namespace fs = std::filesystem;

class TTour {
public:
    TTour(TIdeWindow& window, const std::string& folder, std::ostream& out, std::ostream& err)
        : FWindow(window), FFolder(folder), FOut(out), FErr(err) {}

    bool Ok() const { return FOk; }

    void Fail(const std::string& step, const std::string& what) {
        FErr << "tour: " << step << ": " << what << "\n";
        FOk = false;
    }

    // A picture of the main window, and of Tool on top of it where it stands on the
    // screen, as Folder/NN-name.png. The offscreen platform draws no window frames: a
    // tool window that has one on a real screen gets a plain title bar with its title.
    void Shot(const std::string& name, QWidget* tool = nullptr) {
        QApplication::processEvents();
        QTest::qWait(30); // lets the windows lay out and paint
        constexpr int TitleHeight = 22;
        const bool framed =
            tool && tool->mask().isEmpty() && !(tool->windowFlags() & Qt::FramelessWindowHint);
        QRect toolRect;
        if (tool)
            toolRect =
                framed ? tool->geometry().adjusted(-1, -TitleHeight, 1, 1) : tool->geometry();
        QRect all = FWindow.geometry();
        if (tool)
            all = all.united(toolRect);
        QImage image(all.size(), QImage::Format_RGB32);
        image.fill(QColor(0x30, 0x30, 0x30));
        {
            QPainter painter(&image);
            painter.drawPixmap(FWindow.geometry().topLeft() - all.topLeft(), FWindow.grab());
            if (tool) {
                const QPoint at = tool->geometry().topLeft() - all.topLeft();
                if (framed) {
                    const QRect frame = toolRect.translated(-all.topLeft());
                    painter.fillRect(frame, QColor(0x3A, 0x5F, 0x9A));
                    painter.setPen(Qt::white);
                    painter.drawText(
                        frame.adjusted(8, 0, -8, 0).topLeft() +
                            QPoint(0, TitleHeight / 2 + painter.fontMetrics().ascent() / 2 - 1),
                        tool->windowTitle());
                }
                // A shaped window shows only its region, as on a real screen.
                if (!tool->mask().isEmpty())
                    painter.setClipRegion(tool->mask().translated(at));
                painter.drawPixmap(at, tool->grab());
            }
        }
        ++FShots;
        const std::string number = (FShots < 10 ? "0" : "") + IntToStr(FShots) + "-";
        const std::string file = (fs::path(FFolder) / (number + name + ".png")).string();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            Fail(name, "the picture could not be made");
            return;
        }
        try {
            WriteFileAtomic(file,
                            std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
            FOut << file << std::endl; // as it is made: a caller sees the progress
        } catch (const Exception& e) {
            Fail(name, e.Message());
        }
    }

    QAction* Item(const char* name) {
        QAction* action = FindAction(FWindow.menuBar()->actions(), name);
        if (!action)
            Fail(name, "the \"Vesk\" menu has no such item (is the VeskExp package loaded?)");
        return action;
    }

    // Picks the item; Drive runs once the window it opens modally is up, and closes it.
    bool Modal(QAction* action, const std::function<void(QWidget*)>& drive) {
        if (!action)
            return false;
        QWidget* before = QApplication::activeModalWidget();
        bool driven = false;
        QTimer watcher; // ends with the pick: never left to fire later
        watcher.setInterval(10);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (driven || !modal || modal == before)
                return;
            driven = true;
            watcher.stop();
            QTest::qWait(50);
            drive(modal);
        });
        watcher.start();
        action->trigger();
        watcher.stop();
        return driven;
    }

    TIdeWindow& Window() { return FWindow; }

private:
    TIdeWindow& FWindow;
    std::string FFolder;
    std::ostream& FOut;
    std::ostream& FErr;
    int FShots = 0;
    bool FOk = true;
};

void DesignNewForm(TTour& tour) {
    TIdeWindow& window = tour.Window();
    QAction* newForm = FindAction(window.menuBar()->actions(), "FileNewFormItem");
    if (newForm)
        newForm->trigger();
    TIdeModule* module = window.CurrentModule();
    auto* palette = window.findChild<TComponentPalette*>("ComponentPalette");
    auto* inspector = window.findChild<TObjectInspector*>("ObjectInspector");
    if (!module || !module->New() || !module->FormShown() || !palette || !inspector)
        return tour.Fail("designer",
                         "File > New Form showed no new form with the palette and inspector");
    TFormView& view = *module->FormView();
    TComponent* table = DropFromPalette(*palette, view, "TTable", QPoint(380, 16));
    TComponent* source = DropFromPalette(*palette, view, "TDataSource", QPoint(380, 64));
    TComponent* tree = DropFromPalette(*palette, view, "TVeskDBTreeView", QPoint(12, 12));
    if (!table || !source || !tree)
        return tour.Fail("designer",
                         "the palette dropped no TTable, TDataSource or TVeskDBTreeView");
    // Each value as a user enters it; the inspector must take every one.
    auto enter = [&](TComponent* component,
                     const std::vector<std::pair<QString, QString>>& values) {
        ClickComponent(view, component);
        for (const auto& [name, value] : values)
            if (!EnterInInspector(*inspector, name, value))
                tour.Fail("designer", component->Name() + "." + name.toStdString() +
                                          " could not be set to " + value.toStdString());
    };
    enter(table, {{"DatabaseName", "customers.db"}, {"TableName", "Book"}, {"Active", "True"}});
    enter(source, {{"DataSet", table->Name().c_str()}});
    enter(tree, {{"Width", "320"},
                 {"Height", "250"},
                 {"DataSource", source->Name().c_str()},
                 {"DataFieldID", "ID"},
                 {"DataFieldOwnerID", "OwnerID"},
                 {"DataFieldText", "Name"}});
    // The library's tree is a tree view of Qt's (its class is the package's).
    auto* live = qobject_cast<QTreeView*>(view.WidgetOf(tree));
    if (!live || !live->model() || live->model()->rowCount() == 0)
        return tour.Fail("designer", "the designed tree shows no records of customers.db");
    live->expandToDepth(0);
    // Saved into the project: the project manager lists the new unit with its form.
    if (!window.SaveModule(module))
        tour.Fail("designer", "the new form was not saved");
    tour.Shot("designer-tree");
}

} // namespace

std::string TourDefaultProject() {
    return SampleFolder() + "/Sample.dpr";
}

TTourSetup PrepareTour(const std::string& folder, const std::string& project) {
    std::error_code error;
    const fs::path copy = fs::path(folder) / "project";
    fs::create_directories(copy, error);
    if (error)
        throw EInOutError("Cannot make '" + copy.string() + "': " + error.message());
    const fs::path source = fs::path(ExpandFileName(project)).parent_path();
    for (fs::directory_iterator it(source, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file()) {
            const std::string bytes = ReadFileContent(it->path().string());
            WriteFileAtomic((copy / it->path().filename()).string(), bytes);
        }
    if (error)
        throw EInOutError("Cannot read '" + source.string() + "': " + error.message());
    TTourSetup setup;
    setup.Project = (copy / fs::path(project).filename()).string();
    const std::string store = (fs::path(folder) / "registry.reg").string();
    fs::remove(store, error); // each tour starts from the defaults
    setup.Store = TRegistryFile::Open(store);
    WriteSearchPath(setup.Store,
                    DefaultSearchPath(ExpandFileName(copy.string()), InstalledSourceFolders()));
    return setup;
}

int RunTour(TIdeWindow& window, const std::string& folder, std::ostream& out, std::ostream& err) {
    TTour tour(window, folder, out, err);
    window.resize(1180, 760);
    tour.Shot("project");

    // The Method Navigator: a filter, then Enter jumps to the body of the first match.
    const TIdeModule* first = window.CurrentModule();
    const int lineBefore = first ? first->Editor()->CaretPos().Line : 0;
    const bool navigated = tour.Modal(tour.Item("MNavItem"), [&](QWidget* dialog) {
        auto* filter = dialog->findChild<QLineEdit*>("edFilter");
        if (!filter)
            return tour.Fail("navigator", "no filter box");
        QTest::keyClicks(filter, "Fill");
        tour.Shot("navigator", dialog);
        QTest::keyClick(filter, Qt::Key_Return);
    });
    if (navigated && first && first->Editor()->CaretPos().Line == lineBefore)
        tour.Fail("navigator", "the caret did not move");
    tour.Shot("navigator-jump");

    // Find Source: a search, then Enter opens the unit found.
    tour.Modal(tour.Item("FindItem"), [&](QWidget* dialog) {
        auto* search = dialog->findChild<QComboBox*>("cbSearch");
        if (!search)
            return tour.Fail("find source", "no search box");
        QWidget* edit = search->lineEdit() ? static_cast<QWidget*>(search->lineEdit()) : search;
        QTest::keyClicks(edit, "OrderE");
        QTest::qWait(100);
        tour.Shot("find-source", dialog);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    TIdeModule* orders = window.CurrentModule();
    if (!orders || ExtractFileName(orders->FileName()) != "OrderEntry.pas" || !orders->HasForm()) {
        tour.Fail("find source", "OrderEntry.pas was not opened with its form");
        return 1; // the steps below work on it
    }
    tour.Shot("find-source-opened");

    // The Component Renamer on the form: the data-aware edits take their fields' names;
    // the save brings the unit's declarations along.
    window.ShowModuleForm(orders);
    tour.Modal(tour.Item("RenamerItem"), [&](QWidget* box) {
        tour.Shot("renamer-question", box);
        if (auto* message = qobject_cast<QMessageBox*>(box); message && message->defaultButton())
            Click(message->defaultButton());
        else
            QTest::keyClick(box, Qt::Key_Return);
    });
    TComponent* root = orders->Form()->Root();
    if (TComponent* renamed = root->FindComponent("edOrderNo"))
        orders->FormView()->Select(renamed); // its name shows in the status bar
    else
        tour.Fail("renamer", "DBEdit1 was not renamed edOrderNo");
    tour.Shot("renamer-form");
    window.SaveModule(orders);
    orders->ShowForm(false);
    tour.Shot("renamer-unit");

    // The Field Expert: the order table's fields not on the form yet get a label and an
    // editor each.
    window.ShowModuleForm(orders);
    const int components = root->ComponentCount();
    tour.Modal(tour.Item("FldItem"), [&](QWidget* wizard) {
        auto* dataSets = wizard->findChild<QListWidget*>("lbDataSet");
        auto* fields = wizard->findChild<QListWidget*>("lbField");
        if (!dataSets || !fields)
            return tour.Fail("field expert", "no data set or field list");
        tour.Shot("field-expert-data-set", wizard);
        for (int row = 0; row < dataSets->count(); ++row)
            if (dataSets->item(row)->text().startsWith("tbOrders")) {
                QTest::mouseClick(dataSets->viewport(), Qt::LeftButton, {},
                                  dataSets->visualItemRect(dataSets->item(row)).center());
                break;
            }
        ClickRows(fields, {"OrderNo", "CustNo", "Paid", "Notes"});
        Click(wizard->findChild<QWidget*>("sbDelField"));
        tour.Shot("field-expert-fields", wizard);
        Click(wizard->findChild<QWidget*>("bnNext"));
        Click(wizard->findChild<QWidget*>("bnCreate"));
    });
    if (root->ComponentCount() <= components)
        tour.Fail("field expert", "no controls were added to the form");
    tour.Shot("field-expert-form");

    // The designer: a new form, the data-aware tree, its table and data source dropped
    // from the palette and set up in the inspector on the sample's customers.db.
    DesignNewForm(tour);

    // The About box: up, then closed with Esc.
    const bool about = tour.Modal(tour.Item("AboutItem"), [&](QWidget* box) {
        QTest::qWait(200); // the box's animation runs
        tour.Shot("about", box);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    if (!about)
        tour.Fail("about", "the About box did not open");
    if (QApplication::activeModalWidget())
        tour.Fail("about", "a window was left open");
    return tour.Ok() ? 0 : 1;
}

} // namespace vesk
