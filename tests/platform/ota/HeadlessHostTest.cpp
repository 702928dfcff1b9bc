#include "platform/ota/HeadlessHost.h"
#include "tests/library/utility/ScratchDir.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

using Strings = std::vector<std::string>;

class HeadlessHostTest : public test::ScratchDir {
protected:
    std::string Put(const std::string& name, const std::string& text) {
        Write(Path(name), text);
        return Path(name);
    }
};

// What an expert does: a menu before the host's last one, with items whose handlers run
// when they are picked.
TEST_F(HeadlessHostTest, AMenuBuiltThroughTheInterfacesCanBePicked) {
    THeadlessHost host;
    host.AddMainMenu("&File", "FileMenu");
    host.AddMainMenu("&Help", "HelpMenu");
    std::vector<std::string> picked;
    {
        TIntfPtr<TIMainMenuIntf> menu(ToolServices->GetMainMenu());
        ASSERT_TRUE(menu);
        TIntfPtr<TIMenuItemIntf> items(menu->GetMenuItems());
        ASSERT_TRUE(items);
        TIntfPtr<TIMenuItemIntf> top(items->InsertItem(items->GetItemCount() - 1, "Vesk",
                                                       "ExpertsItem", "", 0, 0, 0, 6, {}));
        auto click = [&](TIMenuItemIntf* sender) { picked.push_back(sender->GetName()); };
        TIntfPtr<TIMenuItemIntf> find(top->InsertItem(top->GetItemCount(), "Find Source",
                                                      "FindItem", "", TextToShortCut("Alt+Enter"),
                                                      0, 0, mfEnabled | mfVisible, click));
        TIntfPtr<TIMenuItemIntf> off(
            top->InsertItem(top->GetItemCount(), "Off", "OffItem", "", 0, 0, 0, mfVisible, click));
        TIntfPtr<TIMenuItemIntf> fails(
            top->InsertItem(99, "Fails", "FailItem", "", 0, 0, 0, 6,
                            [](TIMenuItemIntf*) { throw Exception("tool failed"); }));
        EXPECT_EQ(find->GetIndex(), 0);
        EXPECT_EQ(fails->GetIndex(), 2); // an index past the end appends
        EXPECT_EQ(host.HandedOut(), 6);
    }
    EXPECT_EQ(host.HandedOut(), 0); // the host keeps the items, the caller kept nothing
    EXPECT_EQ(host.MenuCaptions({}), (Strings{"&File", "Vesk", "&Help"}));
    EXPECT_EQ(host.MenuCaptions({"Vesk"}), (Strings{"Find Source", "Off", "Fails"}));
    EXPECT_EQ(host.FindMenuItem({"Vesk", "Find Source"})->GetShortCut(), 0x800D);

    EXPECT_TRUE(host.PickMenuItem({"Vesk", "Find Source"}));
    EXPECT_EQ(picked, Strings{"FindItem"});
    EXPECT_FALSE(host.PickMenuItem({"Vesk", "Off"})); // disabled
    EXPECT_FALSE(host.PickMenuItem({"Vesk", "Nothing"}));
    EXPECT_TRUE(host.PickMenuItem({"Vesk", "Fails"})); // the host reports it and goes on
    EXPECT_EQ(host.Services().Errors(), Strings{"tool failed"});
    EXPECT_EQ(picked.size(), 1u);

    // An item taken out of the menu, while its holder still has it.
    TIntfPtr<TIMenuItemIntf> held;
    held.Reset(host.FindMenuItemByName("OffItem"));
    held->AddRef();
    EXPECT_TRUE(held->DestroyMenuItem());
    EXPECT_FALSE(held->DestroyMenuItem());
    EXPECT_EQ(host.MenuCaptions({"Vesk"}), (Strings{"Find Source", "Fails"}));
    EXPECT_EQ(held->GetIndex(), -1);
    EXPECT_EQ(host.HandedOut(), 1);
    held.Reset();
    EXPECT_EQ(host.HandedOut(), 0);

    host.SetMenuItemsAvailable(false);
    TIntfPtr<TIMainMenuIntf> menu(ToolServices->GetMainMenu());
    EXPECT_EQ(menu->GetMenuItems(), nullptr);
    host.SetMainMenuAvailable(false);
    EXPECT_EQ(ToolServices->GetMainMenu(), nullptr);
}

TEST_F(HeadlessHostTest, ModulesAreOpenedOverRealFilesWithTheirForms) {
    THeadlessHost host;
    const std::string unit = Put("Orders.pas", "unit Orders;\nend.\n");
    const std::string form =
        Put("ORDERS.LFM", "object OrderForm: TForm\n  Caption = 'Orders'\n  Tag = 7\n"
                          "  Font.Style = [fsBold]\nend\n");
    const std::string plain = Put("Plain.pas", "unit Plain;\nend.\n");
    EXPECT_TRUE(host.OpenFile(unit));
    EXPECT_EQ(host.GetCurrentFile(), unit);
    EXPECT_EQ(host.EditorText(unit), "unit Orders;\nend.\n");
    ASSERT_NE(host.FormRoot(unit), nullptr);
    EXPECT_EQ(host.FormRoot(unit)->Name(), "OrderForm");
    host.OpenModule(plain);
    EXPECT_EQ(host.FormRoot(plain), nullptr);
    EXPECT_EQ(host.GetCurrentFile(), plain);

    {
        TIntfPtr<TIModuleInterface> module(host.GetModuleInterface(Path("orders.PAS")));
        ASSERT_TRUE(module); // file names without regard to case, as the IDE has them
        TIntfPtr<TIFormInterface> formIntf(module->GetFormInterface());
        EXPECT_EQ(formIntf->FileName(), form);
        TIntfPtr<TIComponentInterface> root(formIntf->GetFormComponent());
        std::string value;
        EXPECT_TRUE(root->GetPropValueByName("Name", value));
        EXPECT_EQ(value, "OrderForm");
        EXPECT_TRUE(root->GetPropValueByName("Caption", value));
        EXPECT_EQ(value, "Orders");
        EXPECT_TRUE(root->GetPropValueByName("Tag", value));
        EXPECT_EQ(value, "7");
        EXPECT_FALSE(root->GetPropValueByName("Font.Style", value)); // a set is not a string
        EXPECT_FALSE(root->GetPropValueByName("Color", value));
        EXPECT_EQ(value, "7");
        EXPECT_EQ(root->GetComponentType(), "TForm");

        // A reader returns exactly the piece asked for, fewer only at the end.
        TIntfPtr<TIEditorInterface> editor(module->GetEditorInterface());
        TIntfPtr<TIEditReader> reader(editor->CreateReader());
        char buffer[8] = {};
        EXPECT_EQ(reader->GetText(5, buffer, 6), 6);
        EXPECT_EQ(std::string(buffer, 6), "Orders");
        EXPECT_EQ(reader->GetText(13, buffer, 8), 5);
        EXPECT_EQ(std::string(buffer, 5), "end.\n");
        EXPECT_EQ(reader->GetText(18, buffer, 8), 0);
        EXPECT_EQ(reader->GetText(-1, buffer, 8), 0);
        EXPECT_EQ(editor->GetView(1), nullptr);
        module.Reset();
        host.SetCurrentFile(form);
        host.CloseModule(unit); // what the add-in holds stays usable
        EXPECT_FALSE(host.HasModule(unit));
        EXPECT_EQ(reader->GetText(0, buffer, 4), 4);
        EXPECT_TRUE(root->GetPropValueByName("Name", value));
        EXPECT_GT(host.HandedOut(), 0);
    }
    EXPECT_EQ(host.HandedOut(), 0);
    EXPECT_EQ(host.GetCurrentFile(), "");

    // A file that cannot be opened, or whose form cannot be read, opens nothing.
    Put("Broken.pas", "unit Broken;\n");
    Put("Broken.dfm", "object Broken: TForm\n");
    EXPECT_FALSE(host.OpenFile(Path("Broken.pas")));
    EXPECT_FALSE(host.OpenFile(Path("Missing.pas")));
    EXPECT_FALSE(host.HasModule(Path("Broken.pas")));
    EXPECT_EQ(host.Services().Errors().size(), 2u);
    EXPECT_THROW(host.OpenModule(Path("Missing.pas")), EInOutError);
    EXPECT_THROW(host.OpenModule(Path("Broken.pas")), EFormError);
    EXPECT_THROW(host.EditorText(Path("Missing.pas")), Exception);
    EXPECT_EQ(host.Calls().size(), 3u);
}

TEST_F(HeadlessHostTest, TheDesignerPutsFormsOnTheScreen) {
    THeadlessHost host;
    const std::string unit = Put("Main.pas", "unit Main;\n");
    Put("Main.dfm", "object MainForm: TForm\nend\n");
    host.OpenModule(unit);
    EXPECT_EQ(Screen().FormCount(), 0);
    {
        TIntfPtr<TIModuleInterface> module(host.GetModuleInterface(unit));
        EXPECT_TRUE(module->ShowForm());
        EXPECT_TRUE(module->ShowForm()); // shown once on the screen
    }
    ASSERT_EQ(Screen().FormCount(), 1);
    EXPECT_EQ(Screen().Forms(0), host.FormRoot(unit));
    EXPECT_EQ(Screen().Forms(1), nullptr);
    EXPECT_EQ(host.GetCurrentFile(), Path("Main.dfm"));
    host.CloseModule(unit);
    EXPECT_EQ(Screen().FormCount(), 0);

    host.AddModule("/mem/Only.pas", "unit Only;", TFormFile::Parse("object Only: TForm\nend\n"));
    EXPECT_TRUE(host.ShowDesigner("/mem/Only.pas"));
    EXPECT_EQ(host.GetCurrentFile(), "/mem/Only.dfm");
    host.AddModule("/mem/None.pas", "unit None;");
    EXPECT_FALSE(host.ShowDesigner("/mem/None.pas"));
}

TEST_F(HeadlessHostTest, DialogsAnswerFromTheScriptAndRecordWhatWasShown) {
    THeadlessHost host;
    THeadlessServices& services = host.Services();
    EXPECT_EQ(&HostServices(), &services);
    EXPECT_EQ(&Screen(), &services.GetScreen());

    services.ShowMessage("Run Renamer Expert?");
    EXPECT_EQ(services.MessageDlg("Save?", TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel),
              mrCancel); // unscripted: the user declines
    EXPECT_EQ(services.MessageDlg("Replace?", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrNo);
    services.AnswerMessage(mrYes);
    EXPECT_EQ(services.MessageDlg("Replace?", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrYes);
    ASSERT_EQ(services.Messages().size(), 4u);
    EXPECT_TRUE(services.Messages()[0].Plain);
    EXPECT_EQ(services.Messages()[0].Text, "Run Renamer Expert?");

    std::string dir = "/start";
    EXPECT_FALSE(services.SelectDirectory(dir, sdAllowCreate));
    services.AnswerDirectory(std::nullopt);
    services.AnswerDirectory("/chosen");
    EXPECT_FALSE(services.SelectDirectory(dir, 0));
    EXPECT_TRUE(services.SelectDirectory(dir, 0));
    EXPECT_EQ(dir, "/chosen");
    EXPECT_EQ(services.DirectoryRequests().front().Options, sdAllowCreate);

    TOpenDialog open;
    open.Filter = "Pascal (*.pas)|*.pas";
    EXPECT_FALSE(open.Execute());
    services.AnswerOpenDialog(Path("a.pas"));
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, Path("a.pas"));
    EXPECT_EQ(services.OpenDialogs().at(1).Filter, "Pascal (*.pas)|*.pas");

    int ran = 0;
    services.OnProcessMessages = [&] { ++ran; };
    HostServices().ProcessMessages();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(services.ProcessMessagesCount(), 1);
}

TEST_F(HeadlessHostTest, HostsPutBackWhatWasInstalledBefore) {
    EXPECT_EQ(InstalledHostServices(), nullptr);
    EXPECT_FALSE(HostServices().SelectDirectory(*std::make_unique<std::string>(), 0));
    auto outer = std::make_unique<THeadlessHost>(TRegistryFile::Open(Path("outer.reg")));
    {
        THeadlessHost inner;
        EXPECT_EQ(ToolServices, &inner);
        EXPECT_EQ(InstalledHostServices(), &inner.Services());
    }
    EXPECT_EQ(ToolServices, outer.get());
    EXPECT_EQ(HostServices().SettingsStore()->FileName(), Path("outer.reg"));
    EXPECT_EQ(&Screen(), &outer->Services().GetScreen());

    // A reference the add-in never gave back outlives its host without harm.
    outer->AddModule("/mem/Kept.pas", "unit Kept;");
    TIModuleInterface* kept = outer->GetModuleInterface("/mem/Kept.pas");
    outer.reset();
    EXPECT_EQ(ToolServices, nullptr);
    EXPECT_EQ(InstalledHostServices(), nullptr);
    {
        TIntfPtr<TIEditorInterface> editor(kept->GetEditorInterface());
        EXPECT_EQ(editor->FileName(), "/mem/Kept.pas");
        EXPECT_FALSE(kept->ShowForm());
    }
    kept->Free();
}

} // namespace
} // namespace vesk
