// The Install Packages window driven as a user does, with scripted file choices.
#include "ide/packages/InstallPackages.h"

#include "platform/ota/HeadlessHost.h"
#include "platform/rtl/SysUtils.h"
#include "tests/ide/PackageFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace vesk {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

using test::NotAPackageSo;
using test::VeskExpSo;
using test::VeskSo;

class InstallPackagesTest : public test::PackageHostTest {
protected:
    void SetUp() override {
        PackageHostTest::SetUp();
        FHost->AddMainMenu("Help", "HelpMenu");
        FLoader = std::make_unique<TPackageLoader>();
    }
    void TearDown() override {
        FLoader.reset();
        PackageHostTest::TearDown();
    }
    static Strings Rows(const QListWidget& list) {
        Strings rows;
        for (int i = 0; i < list.count(); ++i)
            rows.push_back(list.item(i)->text().toStdString());
        return rows;
    }
    Strings Known() {
        TRegistry reg(FStore);
        TStringList names;
        if (reg.OpenKey(KnownPackagesKey, false))
            reg.GetValueNames(names);
        Strings list;
        for (int i = 0; i < names.Count(); ++i)
            list.push_back(names[i]);
        return list;
    }

    std::unique_ptr<TPackageLoader> FLoader;
};

TEST_F(InstallPackagesTest, TheWindowListsThePackagesWithTheirFilesAndStates) {
    const std::string missing = Path("Missing.so");
    {
        TRegistry reg(FStore);
        reg.OpenKey(KnownPackagesKey, true);
        reg.WriteString(VeskSo, "Vesk Components");
        reg.WriteString(VeskExpSo, "(untitled)");
        reg.WriteString(missing, "Gone for good");
    }
    EXPECT_EQ(FLoader->LoadKnownPackages(*FStore).size(), 1u);
    TInstallPackagesDlg dialog(*FLoader, *FStore);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Install Packages");
    // Listed in the loader's order, by file name without regard to case (where the
    // scratch folder sorts depends on where the build is); "(untitled)" shows as the
    // file's base name.
    std::vector<std::pair<std::string, std::string>> expected = {
        {missing, "Gone for good"}, {VeskSo, "Vesk Components"}, {VeskExpSo, "VeskExp"}};
    std::sort(expected.begin(), expected.end(),
              [](const auto& a, const auto& b) { return UpperCase(a.first) < UpperCase(b.first); });
    Strings captions;
    for (const auto& [file, caption] : expected)
        captions.push_back(caption);
    EXPECT_EQ(Rows(*dialog.lbPackages), captions);
    const auto rowOf = [&](const std::string& file) {
        return static_cast<int>(
            std::find_if(expected.begin(), expected.end(),
                         [&](const auto& entry) { return entry.first == file; }) -
            expected.begin());
    };
    EXPECT_EQ(dialog.lbPackages->currentRow(), 0);
    dialog.lbPackages->setCurrentRow(rowOf(missing));
    EXPECT_EQ(dialog.edFile->text().toStdString(), missing);
    EXPECT_EQ(dialog.lbState->text(), "no such package file");
    const fs::path pictures = fs::path(VESK_BINARY_DIR) / "pictures";
    fs::create_directories(pictures);
    EXPECT_TRUE(dialog.grab().save(
        QString::fromStdString((pictures / "InstallPackagesError.png").string())));
    dialog.lbPackages->setCurrentRow(rowOf(VeskSo));
    EXPECT_EQ(dialog.edFile->text().toStdString(), VeskSo);
    EXPECT_EQ(dialog.lbState->text(), "Loaded");
    EXPECT_TRUE(dialog.btnRemove->isEnabled());

    // Nothing is cut off: every control lies inside the window and shows its text.
    for (QWidget* control :
         std::vector<QWidget*>{dialog.lbCaption, dialog.lbPackages, dialog.lbFileCaption,
                               dialog.edFile, dialog.lbStateCaption, dialog.lbState, dialog.btnAdd,
                               dialog.btnRemove, dialog.btnClose}) {
        const QRect inWindow(control->mapTo(&dialog, QPoint(0, 0)), control->size());
        EXPECT_TRUE(dialog.rect().contains(inWindow)) << control->objectName().toStdString();
        EXPECT_GE(control->width(), control->minimumSizeHint().width())
            << control->objectName().toStdString();
    }
    EXPECT_TRUE(
        dialog.grab().save(QString::fromStdString((pictures / "InstallPackages.png").string())));
}

TEST_F(InstallPackagesTest, AddingAndRemovingLoadAndUnloadAtOnce) {
    EXPECT_EQ(FLoader->LoadKnownPackages(*FStore), Strings{});
    TInstallPackagesDlg dialog(*FLoader, *FStore);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(Rows(*dialog.lbPackages), (Strings{"Vesk Components", "Vesk Experts"}));

    // Removing asks first; "No" keeps it.
    dialog.lbPackages->setCurrentRow(1);
    FHost->Services().AnswerMessage(mrNo);
    QTest::mouseClick(dialog.btnRemove, Qt::LeftButton);
    EXPECT_EQ(FHost->Services().Messages().back().Text, "Remove package " + VeskExpSo + "?");
    EXPECT_EQ(Rows(*dialog.lbPackages).size(), 2u);
    EXPECT_NE(FHost->FindMenuItem({"Vesk"}), nullptr);

    FHost->Services().AnswerMessage(mrYes);
    QTest::mouseClick(dialog.btnRemove, Qt::LeftButton);
    EXPECT_EQ(Rows(*dialog.lbPackages), Strings{"Vesk Components"});
    EXPECT_EQ(dialog.lbPackages->currentRow(), 0);
    EXPECT_EQ(FHost->FindMenuItem({"Vesk"}), nullptr); // unloaded at once
    EXPECT_EQ(Known(), Strings{VeskSo});

    // A file that is no package: its error, and the list as it was.
    FHost->Services().AnswerOpenDialog(NotAPackageSo);
    QTest::mouseClick(dialog.btnAdd, Qt::LeftButton);
    ASSERT_EQ(FHost->Services().OpenDialogs().size(), 1u);
    EXPECT_EQ(FHost->Services().OpenDialogs()[0].Filter, "Packages (*.so)|*.so");
    ASSERT_EQ(FHost->Services().Errors().size(), 1u);
    EXPECT_NE(FHost->Services().Errors()[0].find("not a package"), std::string::npos);
    EXPECT_EQ(Rows(*dialog.lbPackages), Strings{"Vesk Components"});
    EXPECT_EQ(Known(), Strings{VeskSo});

    // A cancelled choice changes nothing; a package is loaded, listed and selected.
    QTest::mouseClick(dialog.btnAdd, Qt::LeftButton);
    EXPECT_EQ(Rows(*dialog.lbPackages), Strings{"Vesk Components"});
    FHost->Services().AnswerOpenDialog(VeskExpSo);
    QTest::mouseClick(dialog.btnAdd, Qt::LeftButton);
    EXPECT_EQ(Rows(*dialog.lbPackages), (Strings{"Vesk Components", "Vesk Experts"}));
    EXPECT_EQ(dialog.lbPackages->currentRow(), 1);
    EXPECT_EQ(dialog.lbState->text(), "Loaded");
    EXPECT_NE(FHost->FindMenuItem({"Vesk", "Find Source"}), nullptr);
    EXPECT_EQ(Known(), (Strings{VeskSo, VeskExpSo}));

    // Removing the last one leaves nothing to remove.
    FHost->Services().AnswerMessage(mrYes);
    FHost->Services().AnswerMessage(mrYes);
    dialog.lbPackages->setCurrentRow(0);
    QTest::mouseClick(dialog.btnRemove, Qt::LeftButton);
    EXPECT_EQ(Rows(*dialog.lbPackages), Strings{"Vesk Experts"}); // unloaded with Vesk
    QTest::mouseClick(dialog.btnRemove, Qt::LeftButton);
    EXPECT_TRUE(Rows(*dialog.lbPackages).empty());
    EXPECT_FALSE(dialog.btnRemove->isEnabled());
    EXPECT_TRUE(dialog.edFile->text().isEmpty());
    QTest::mouseClick(dialog.btnClose, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace vesk
