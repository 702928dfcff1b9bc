#include "platform/qt/QtHostServices.h"
#include "platform/forms/Component.h"
#include "tests/library/utility/ScratchDir.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace vesk {
namespace {

// Runs Answer on the next modal dialog once it is shown.
template <typename Dialog, typename Answer>
void WhenShown(Answer answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

class QtHostServicesTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        SetHostServices(&FServices);
    }
    void TearDown() override {
        SetHostServices(nullptr);
        ScratchDir::TearDown();
    }
    TQtHostServices FServices{nullptr};
};

TEST_F(QtHostServicesTest, MessageBoxesShowTheTextAndAnswerWithTheButtonPressed) {
    QString shown;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        shown = box.text();
        box.button(QMessageBox::Ok)->click();
    });
    FServices.ShowMessage("Run Renamer Expert?");
    EXPECT_EQ(shown, "Run Renamer Expert?");

    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        icon = box.icon();
        EXPECT_NE(box.button(QMessageBox::No), nullptr);
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(FServices.MessageDlg("Replace?", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrYes);
    EXPECT_EQ(icon, QMessageBox::Question);

    WhenShown<QMessageBox>([&](QMessageBox& box) {
        icon = box.icon();
        box.reject(); // Esc
    });
    EXPECT_EQ(FServices.MessageDlg("Failed", TMsgDlgType::mtError, mbOK), mrCancel);
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST_F(QtHostServicesTest, TheChoosersReturnWhatTheUserPicked) {
    const std::string sub = Path("sub");
    std::filesystem::create_directory(sub);
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_TRUE(dialog.testOption(QFileDialog::ReadOnly)); // no new folders
        dialog.selectFile(QString::fromStdString(sub));
        static_cast<QDialog&>(dialog).accept();
    });
    std::string directory;
    EXPECT_TRUE(FServices.SelectDirectory(directory, 0));
    EXPECT_EQ(directory, sub);

    WhenShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(FServices.SelectDirectory(directory, sdAllowCreate));
    EXPECT_EQ(directory, sub);

    Write(Path("Unit1.pas"), "unit Unit1;");
    TOpenDialog open;
    open.Filter = "Search Files (*.PAS;*.DPR;)|*.PAS;*.DPR;|All Files (*.*)|*.*";
    open.Options = ofHideReadOnly | ofPathMustExist | ofFileMustExist;
    open.InitialDir = FDir.string();
    QStringList filters;
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        dialog.selectNameFilter(filters[1]);
        dialog.selectFile("Unit1.pas");
        static_cast<QDialog&>(dialog).accept();
    });
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, Path("Unit1.pas"));
    EXPECT_EQ(open.FilterIndex, 2);
    EXPECT_EQ(filters, (QStringList{"Search Files (*.PAS *.DPR)", "All Files (*)"}));
}

TEST_F(QtHostServicesTest, FiltersBecomeQtNameFilters) {
    EXPECT_EQ(NameFiltersOf("Pascal (*.pas)|*.pas;*.inc|Everything|*.*"),
              (QStringList{"Pascal (*.pas *.inc)", "Everything (*)"}));
    EXPECT_EQ(NameFiltersOf(""), QStringList{});
    EXPECT_EQ(NameFiltersOf("Odd|"), QStringList{"Odd (*)"});
    EXPECT_EQ(NameFiltersOf("Lonely description"), QStringList{});
}

TEST_F(QtHostServicesTest, TheScreenShowsItsCursorAndListsTheDesignedForms) {
    Screen().SetCursor(crHourGlass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen().SetCursor(crArrow);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    Screen().SetCursor(crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    TComponent first("TForm", nullptr), second("TForm", nullptr);
    auto* window = new QWidget;
    QWidget other;
    FServices.Screen().AddForm(window, &first);
    FServices.Screen().AddForm(&other, &second);
    ASSERT_EQ(Screen().FormCount(), 2);
    EXPECT_EQ(Screen().Forms(0), &first);
    delete window; // a window that is gone is no longer listed
    ASSERT_EQ(Screen().FormCount(), 1);
    EXPECT_EQ(Screen().Forms(0), &second);
    EXPECT_EQ(Screen().Forms(1), nullptr);
    FServices.Screen().RemoveForm(&other);
    EXPECT_EQ(Screen().FormCount(), 0);
}

} // namespace
} // namespace vesk
