// The expert and its menu against the headless host, the tools opened for real.
#include "expert/frame/MgrExp.h"

#include "expert/about/VeskAbout.h"
#include "expert/finder/FindExp.h"
#include "expert/navigator/MNavExp.h"
#include "platform/ota/HeadlessHost.h"
#include "tests/library/utility/ScratchDir.h"

#include <QApplication>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

namespace vesk {
namespace {

using Strings = std::vector<std::string>;

class MgrExpTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        ::setenv("VESK_REGISTRY", Path("registry.reg").c_str(), 1);
        FHost = std::make_unique<THeadlessHost>();
    }
    void TearDown() override {
        FHost.reset();
        EXPECT_EQ(FindExpDlg, nullptr);
        EXPECT_EQ(MNavExpDlg, nullptr);
        ::unsetenv("VESK_REGISTRY");
        ScratchDir::TearDown();
    }
    ManagerExpert& Registered() {
        MgrExp::Register();
        EXPECT_EQ(FHost->ExpertCount(), 1);
        auto* expert = dynamic_cast<ManagerExpert*>(FHost->Experts(0));
        EXPECT_NE(expert, nullptr);
        return *expert;
    }
    // Picks the item and returns the Find Source page the dialog showed.
    std::string PickedPage(const std::string& caption) {
        std::string page;
        QTimer::singleShot(0, [&] {
            ASSERT_NE(FindExpDlg, nullptr);
            EXPECT_TRUE(FindExpDlg->isModal());
            page = FindExpDlg->pc->currentWidget()->objectName().toStdString();
            FindExpDlg->close();
        });
        EXPECT_TRUE(FHost->PickMenuItem({"Vesk", caption}));
        return page;
    }

    std::unique_ptr<THeadlessHost> FHost;
};

TEST_F(MgrExpTest, TheMenuGoesJustBeforeTheHostsLastMenuWithItsEightItems) {
    for (const char* menu : {"File", "Edit", "Tools", "Help"})
        FHost->AddMainMenu(menu, std::string(menu) + "Menu");
    const ManagerExpert& expert = Registered();
    EXPECT_EQ(FHost->MenuCaptions({}), (Strings{"File", "Edit", "Tools", "Vesk", "Help"}));

    ASSERT_NE(expert.ExpertsItem, nullptr);
    EXPECT_EQ(expert.ExpertsItem->GetName(), "ExpertsItem");
    EXPECT_EQ(expert.ExpertsItem->GetShortCut(), 0);
    EXPECT_EQ(expert.ExpertsItem->GetFlags(), mfEnabled | mfVisible);
    EXPECT_EQ(expert.ExpertsItem->GetItemCount(), 8);

    struct TExpected {
        TIMenuItemIntf* Field;
        std::string Caption, Name;
        TShortCut ShortCut;
    };
    const TExpected expected[] = {
        {expert.FindItem, "Find Source", "FindItem", 0x800D},
        {expert.FFavorItem, "Favofites", "FFavorItem", 0x8046},
        {expert.PackagesItem, "Packages", "PackagesItem", 0x8050},
        {expert.RenamerItem, "Component Renamer", "RenamerItem", 0x8052},
        {expert.FldItem, "Field Expert", "FldItem", 0},
        {expert.MNavItem, "Metod Navigator", "MNavItem", 0x804D},
        {expert.SepItem, "-", "SepItem", 0},
        {expert.AboutItem, "&About...", "AboutItem", 0},
    };
    for (int i = 0; i < 8; ++i) {
        const TExpected& item = expected[i];
        SCOPED_TRACE(item.Caption);
        ASSERT_NE(item.Field, nullptr);
        EXPECT_EQ(item.Field->GetIndex(), i); // each appended after the one before
        EXPECT_EQ(item.Field->GetCaption(), item.Caption);
        EXPECT_EQ(item.Field->GetName(), item.Name);
        EXPECT_EQ(item.Field->GetShortCut(), item.ShortCut);
        EXPECT_EQ(item.Field->GetFlags(), mfEnabled | mfVisible);
        EXPECT_EQ(item.Field->GetHint(), "");
        EXPECT_EQ(item.Field->GetContext(), 0);
        EXPECT_EQ(item.Field->GetGroupIndex(), 0);
    }
    // The menu's references are the expert's nine; the host's main menu was given back.
    EXPECT_EQ(FHost->HandedOut(), 9);
}

TEST_F(MgrExpTest, WithOneTopLevelMenuTheMenuGoesFirst) {
    FHost->AddMainMenu("Help", "HelpMenu");
    Registered();
    EXPECT_EQ(FHost->MenuCaptions({}), (Strings{"Vesk", "Help"}));
    EXPECT_EQ(FHost->MenuCaptions({"Vesk"}).size(), 8u);
}

TEST_F(MgrExpTest, WithoutAMainMenuOrATopLevelListTheExpertHasNoMenu) {
    FHost->AddMainMenu("Help", "HelpMenu");
    FHost->SetMainMenuAvailable(false);
    const ManagerExpert& noMenu = Registered();
    EXPECT_EQ(noMenu.ExpertsItem, nullptr);
    EXPECT_EQ(noMenu.AboutItem, nullptr);
    FHost->ReleaseExperts();

    FHost->SetMainMenuAvailable(true);
    FHost->SetMenuItemsAvailable(false);
    const ManagerExpert& noList = Registered();
    EXPECT_EQ(noList.ExpertsItem, nullptr);
    FHost->SetMenuItemsAvailable(true);
    EXPECT_EQ(FHost->MenuCaptions({}), Strings{"Help"});
    EXPECT_EQ(FHost->HandedOut(), 0); // the main menu given back on the way out
    FHost->ReleaseExperts();
}

TEST_F(MgrExpTest, TheIdentityIsFixedAndNamesTheAuthorOnlyInTheId) {
    ManagerExpert& expert = Registered();
    EXPECT_EQ(expert.GetName(), "Manager Expert");
    EXPECT_EQ(expert.GetAuthor(), "");
    EXPECT_EQ(expert.GetComment(), "");
    EXPECT_EQ(expert.GetPage(), "");
    EXPECT_EQ(expert.GetGlyph(), 0u);
    EXPECT_EQ(expert.GetStyle(), TExpertStyle::esAddIn);
    EXPECT_EQ(static_cast<int>(expert.GetStyle()), 3);
    EXPECT_EQ(expert.GetState(), esEnabled);
    EXPECT_EQ(expert.GetIDString(), "Orlen Makory.Manager Expert");
    EXPECT_EQ(expert.GetMenuText(), "Manager Find Expert");
    expert.Execute(); // nothing happens: no window, no message
    EXPECT_TRUE(FHost->Services().Messages().empty());
}

TEST_F(MgrExpTest, TheThreeFindItemsOpenTheDialogOnTheirOwnPages) {
    FHost->AddMainMenu("Help", "HelpMenu");
    Registered();
    // The menu's order is not the order of the pages.
    EXPECT_EQ(PickedPage("Packages"), "tsPackages");
    const QPointer<TFindExpDlg> made = FindExpDlg;
    EXPECT_EQ(PickedPage("Favofites"), "tsFavor");
    EXPECT_EQ(PickedPage("Find Source"), "tsSearch");
    EXPECT_EQ(FindExpDlg, made.data()); // one dialog, reused
    EXPECT_FALSE(FindExpDlg->isVisible());

    FHost->ReleaseExperts(); // the expert destroys the dialog it kept
    EXPECT_TRUE(made.isNull());
    EXPECT_EQ(FindExpDlg, nullptr);
}

TEST_F(MgrExpTest, TheOtherItemsRunTheirTools) {
    FHost->AddMainMenu("Help", "HelpMenu");
    Registered();

    bool navigatorShown = false;
    QTimer::singleShot(0, [&] {
        ASSERT_NE(MNavExpDlg, nullptr);
        navigatorShown = MNavExpDlg->isModal() && MNavExpDlg->parent() == nullptr;
        MNavExpDlg->close();
    });
    EXPECT_TRUE(FHost->PickMenuItem({"Vesk", "Metod Navigator"}));
    EXPECT_TRUE(navigatorShown);
    EXPECT_EQ(MNavExpDlg, nullptr); // it freed itself

    std::string version, author;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<TAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        version = about->lbVersion->Caption();
        author = about->lbAuthor->Caption();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    EXPECT_TRUE(FHost->PickMenuItem({"Vesk", "&About..."}));
    EXPECT_EQ(version, "Veskor 1.00");
    EXPECT_EQ(author, "Orlen Makory");

    // The renamer asks first, in the plain box; declined, nothing more happens.
    EXPECT_TRUE(FHost->PickMenuItem({"Vesk", "Component Renamer"}));
    ASSERT_EQ(FHost->Services().Messages().size(), 1u);
    EXPECT_EQ(FHost->Services().Messages()[0].Text, "Run Renamer Expert?");
    // No form is designed: the Field Expert does nothing, and says nothing.
    EXPECT_TRUE(FHost->PickMenuItem({"Vesk", "Field Expert"}));
    EXPECT_EQ(FHost->Services().Messages().size(), 1u);
    EXPECT_TRUE(FHost->Services().Errors().empty());
    // The separator has no handler and picking it does nothing.
    EXPECT_TRUE(FHost->PickMenuItem({"Vesk", "-"}));
    EXPECT_TRUE(FHost->Services().Errors().empty());
}

TEST_F(MgrExpTest, DestroyingTheExpertTakesItsMenuAwayAndGivesEverythingBack) {
    FHost->AddMainMenu("File", "FileMenu");
    FHost->AddMainMenu("Help", "HelpMenu");
    Registered();
    ASSERT_NE(FHost->FindMenuItem({"Vesk", "Find Source"}), nullptr);

    // No tool was opened: both window variables are empty and stay so.
    FHost->ReleaseExperts();
    EXPECT_EQ(FindExpDlg, nullptr);
    EXPECT_EQ(MNavExpDlg, nullptr);
    EXPECT_EQ(FHost->MenuCaptions({}), (Strings{"File", "Help"}));
    EXPECT_EQ(FHost->FindMenuItemByName("FindItem"), nullptr);
    EXPECT_FALSE(FHost->PickMenuItem({"Vesk", "Find Source"}));
    EXPECT_EQ(FHost->HandedOut(), 0);

    // A new expert puts the menu back in the same place.
    Registered();
    EXPECT_EQ(FHost->MenuCaptions({}), (Strings{"File", "Vesk", "Help"}));
}

} // namespace
} // namespace vesk
