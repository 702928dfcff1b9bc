#include "expert/frame/MgrExp.h"

#include "expert/about/VeskAbout.h"
#include "expert/fieldexpert/FldExp.h"
#include "expert/finder/FindExp.h"
#include "expert/navigator/MNavExp.h"
#include "expert/renamer/RenExp.h"
#include "platform/ota/ShortCut.h"

namespace vesk {

namespace {

constexpr TIMenuFlags ItemFlags = mfEnabled | mfVisible;

} // namespace

ManagerExpert::ManagerExpert() {
    CreateMenu();
}

ManagerExpert::~ManagerExpert() {
    // Out of the host's menu while every reference is still held: the sub-items go with it.
    if (ExpertsItem)
        ExpertsItem->DestroyMenuItem();
    for (TIMenuItemIntf** item : {&MNavItem, &RenamerItem, &FldItem, &FindItem, &FFavorItem,
                                  &PackagesItem, &ExpertsItem, &SepItem, &AboutItem}) {
        TInterface::Free(*item);
        *item = nullptr;
    }
    DestroyMNavExpDlg();
    DestroyFindExpDlg();
}

void ManagerExpert::CreateMenu() {
    if (!ToolServices)
        return;
    TIntfPtr<TIMainMenuIntf> mainMenu(ToolServices->GetMainMenu());
    if (!mainMenu)
        return;
    TIntfPtr<TIMenuItemIntf> topLevel(mainMenu->GetMenuItems());
    if (!topLevel)
        return;
    ExpertsItem = topLevel->InsertItem(topLevel->GetItemCount() - 1, "Vesk", "ExpertsItem", "",
                                       scNone, 0, 0, ItemFlags, nullptr);

    struct TItem {
        TIMenuItemIntf** Field;
        const char* Caption;
        const char* Name;
        const char* ShortCut;
        void (ManagerExpert::*Handler)(TIMenuItemIntf*);
    };
    const TItem items[] = {
        {&FindItem, "Find Source", "FindItem", "Alt+Enter", &ManagerExpert::FindItemClick},
        {&FFavorItem, "Favofites", "FFavorItem", "Alt+F", &ManagerExpert::FFavorItemClick},
        {&PackagesItem, "Packages", "PackagesItem", "Alt+P", &ManagerExpert::PackagesItemClick},
        {&RenamerItem, "Component Renamer", "RenamerItem", "Alt+R",
         &ManagerExpert::RenamerItemClick},
        {&FldItem, "Field Expert", "FldItem", "", &ManagerExpert::FldItemClick},
        {&MNavItem, "Metod Navigator", "MNavItem", "Alt+M", &ManagerExpert::MNavItemClick},
        {&SepItem, "-", "SepItem", "", nullptr},
        {&AboutItem, "&About...", "AboutItem", "", &ManagerExpert::AboutItemClick},
    };
    for (const TItem& item : items) {
        TIMenuClickEvent onClick;
        if (item.Handler)
            onClick = [this, handler = item.Handler](TIMenuItemIntf* sender) {
                (this->*handler)(sender);
            };
        *item.Field = ExpertsItem->InsertItem(ExpertsItem->GetItemCount(), item.Caption, item.Name,
                                              "", TextToShortCut(item.ShortCut), 0, 0, ItemFlags,
                                              std::move(onClick));
    }
}

std::string ManagerExpert::GetName() {
    return "Manager Expert";
}

std::string ManagerExpert::GetAuthor() {
    return "";
}

std::string ManagerExpert::GetComment() {
    return "";
}

std::string ManagerExpert::GetPage() {
    return "";
}

HICON ManagerExpert::GetGlyph() {
    return 0;
}

TExpertStyle ManagerExpert::GetStyle() {
    return TExpertStyle::esAddIn;
}

TExpertState ManagerExpert::GetState() {
    return esEnabled;
}

std::string ManagerExpert::GetIDString() {
    return "Orlen Makory.Manager Expert";
}

std::string ManagerExpert::GetMenuText() {
    return "Manager Find Expert";
}

void ManagerExpert::Execute() {}

void ManagerExpert::FindItemClick(TIMenuItemIntf*) {
    ExecuteFindExp(PageType::ptFiles);
}

void ManagerExpert::PackagesItemClick(TIMenuItemIntf*) {
    ExecuteFindExp(PageType::ptPackages);
}

void ManagerExpert::FFavorItemClick(TIMenuItemIntf*) {
    ExecuteFindExp(PageType::ptFFavor);
}

void ManagerExpert::MNavItemClick(TIMenuItemIntf*) {
    // A new window without owner, which MNavExpDlg holds until it frees itself.
    ExecuteMNavExp(nullptr);
}

void ManagerExpert::RenamerItemClick(TIMenuItemIntf*) {
    ExecuteRenamer();
}

void ManagerExpert::FldItemClick(TIMenuItemIntf*) {
    ExecuteFldExp();
}

void ManagerExpert::AboutItemClick(TIMenuItemIntf*) {
    ExecAboutDlg(TAboutRec{"Veskor 1.00", "Orlen Makory"});
}

namespace MgrExp {

void Register() {
    RegisterLibraryExpert(new ManagerExpert);
}

} // namespace MgrExp

} // namespace vesk
