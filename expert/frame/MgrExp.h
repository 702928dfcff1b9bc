// The add-in's one entry from the host: the expert that puts the "Vesk" menu into the
// host's main menu and dispatches its items to the tools. It has no window and no
// action of its own. The host owns it once registered and destroys it when it unloads
// the package or ends.
#pragma once

#include "platform/ota/Expert.h"
#include "platform/ota/ToolServices.h"

namespace vesk {

class ManagerExpert : public TIExpert {
public:
    // Inserts the menu (CreateMenu). A Find Source dialog that already exists is kept
    // and destroyed with the expert, not forgotten.
    ManagerExpert();

    std::string GetName() override;
    std::string GetAuthor() override;
    std::string GetComment() override;
    std::string GetPage() override;
    HICON GetGlyph() override;
    TExpertStyle GetStyle() override;
    TExpertState GetState() override;
    std::string GetIDString() override;
    std::string GetMenuText() override;
    void Execute() override;

    // The menu's handlers; the picked item is ignored.
    void FindItemClick(TIMenuItemIntf* sender);
    void PackagesItemClick(TIMenuItemIntf* sender);
    void FFavorItemClick(TIMenuItemIntf* sender);
    void MNavItemClick(TIMenuItemIntf* sender);
    void RenamerItemClick(TIMenuItemIntf* sender);
    void FldItemClick(TIMenuItemIntf* sender);
    void AboutItemClick(TIMenuItemIntf* sender);

    // The items the expert holds a reference to (none without a menu), named after the
    // Name each carries in the host menu.
    TIMenuItemIntf* ExpertsItem = nullptr;
    TIMenuItemIntf* MNavItem = nullptr;
    TIMenuItemIntf* FldItem = nullptr;
    TIMenuItemIntf* RenamerItem = nullptr;
    TIMenuItemIntf* FFavorItem = nullptr;
    TIMenuItemIntf* PackagesItem = nullptr;
    TIMenuItemIntf* FindItem = nullptr;
    TIMenuItemIntf* SepItem = nullptr;
    TIMenuItemIntf* AboutItem = nullptr;

protected:
    // Takes the "Vesk" menu out of the host's menu first, so that a package unloaded
    // while the host runs leaves no item calling a destroyed expert; then gives up the
    // item references and destroys the tool windows still alive.
    ~ManagerExpert() override;

private:
    // The top-level "Vesk" just before the host's last menu, and its eight items.
    // Nothing without a main menu or a list of top-level menus.
    void CreateMenu();
};

namespace MgrExp {
// Creates the one expert and hands it to the host.
void Register();
} // namespace MgrExp

} // namespace vesk
