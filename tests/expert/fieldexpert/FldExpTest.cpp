// The Field Expert as the user drives it: ExecuteFldExp on the form the headless host's
// designer shows, real clicks on the wizard's widgets, the host's boxes recorded.
#include "expert/fieldexpert/FldExp.h"
#include "platform/ota/HeadlessHost.h"
#include "tests/expert/fieldexpert/ShopDatabase.h"
#include "tests/library/utility/ScratchDir.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace vesk {
namespace {

using Strings = std::vector<std::string>;

// A form with two tables (one not in the database), a data set of another kind and two
// data sources of the first table; Extra goes at its end.
std::string OrdersForm(const std::string& extra = "") {
    return "object Form1: TForm1\n"
           "  Font.Height = -11\n  PixelsPerInch = 96\n"
           "  object Orders: TTable\n    DatabaseName = 'shop.db'\n"
           "    TableName = 'orders'\n  end\n"
           "  object Lost: TTable\n    DatabaseName = 'shop.db'\n"
           "    TableName = 'nothing'\n  end\n"
           "  object Memory: TClientDataSet\n  end\n"
           "  object OrdersSrc: TDataSource\n    DataSet = Orders\n  end\n"
           "  object Second: TDataSource\n    DataSet = Orders\n  end\n" +
           extra + "end\n";
}

class FldExpTest : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        test::CreateShopDatabase(Path("shop.db"));
    }
    // Opens Unit1 with the form and shows it in the designer.
    void Design(const std::string& form) {
        Write(Path("Unit1.pas"), "unit Unit1;\ninterface\nimplementation\nend.\n");
        Write(Path("Unit1.dfm"), form);
        FHost.OpenModule(Path("Unit1.pas"));
        ASSERT_TRUE(FHost.ShowDesigner(Path("Unit1.pas")));
    }
    TComponent* Root() { return FHost.FormRoot(Path("Unit1.pas")); }
    TComponent* Find(const char* name) { return Root()->FindComponent(name); }

    // Runs ExecuteFldExp; Drive gets the wizard once it is shown, and the wizard is
    // cancelled afterwards if Drive left it open. False when no wizard was shown.
    bool Run(const std::function<void(TFldExpert&)>& drive) {
        bool shown = false;
        QTimer timer; // ends with the run, so it never fires into another test
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (!FldExpert || !FldExpert->isVisible())
                return;
            shown = true;
            drive(*FldExpert);
            if (FldExpert && FldExpert->isVisible())
                FldExpert->reject();
        });
        timer.start(0);
        ExecuteFldExp();
        EXPECT_EQ(FldExpert, nullptr); // forgotten on the way out
        return shown;
    }

    static QPoint ItemAt(QListWidget* list, int row) {
        return list->visualItemRect(list->item(row)).center();
    }
    static void Click(QListWidget* list, int row, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, ItemAt(list, row));
    }
    static void Click(QWidget* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    static Strings Texts(QListWidget* list) {
        Strings texts;
        for (int i = 0; i < list->count(); ++i)
            texts.push_back(list->item(i)->text().toStdString());
        return texts;
    }

    THeadlessHost FHost;
};

const Strings AllFields{"Amount", "Company", "CustNo", "Paid", "SaleDate"};

TEST_F(FldExpTest, WithoutAFormOrADataSetOfTheEngineNoWizardIsShown) {
    Write(Path("Plain.pas"), "unit Plain;\nend.\n");
    FHost.OpenModule(Path("Plain.pas"));
    FHost.SetCurrentFile(Path("Plain.pas"));
    EXPECT_FALSE(Run([](TFldExpert&) {}));
    EXPECT_TRUE(FHost.Services().Messages().empty());

    // Data sets, but none of the database engine's.
    Design("object Form1: TForm1\n  object Memory: TClientDataSet\n  end\n"
           "  object MemorySrc: TDataSource\n    DataSet = Memory\n  end\nend\n");
    EXPECT_FALSE(Run([](TFldExpert&) {}));
    ASSERT_EQ(FHost.Services().Messages().size(), 1u);
    EXPECT_EQ(FHost.Services().Messages()[0],
              (THeadlessServices::TShownMessage{"Must be DBDataSet.", TMsgDlgType::mtError, mbOK}));
}

TEST_F(FldExpTest, OpensOnTheDataSetPageAndCancelGeneratesNothing) {
    Design(OrdersForm());
    const int components = Root()->ComponentCount();
    const bool shown = Run([&](TFldExpert& w) {
        EXPECT_EQ(w.windowTitle(), "Expert for make TLabel and TDBEdit");
        EXPECT_EQ(w.NB->PageIndex(), pgDataSet);
        EXPECT_EQ(w.NB->count(), 3);
        // Orders with the first of its two data sources; Lost with none; the client
        // data set is not the engine's and is left out.
        EXPECT_EQ(Texts(w.lbDataSet),
                  (Strings{"Orders" + std::string(11, ' ') + "OrdersSrc" + std::string(7, ' '),
                           "Lost" + std::string(29, ' ')}));
        EXPECT_EQ(w.lbDataSet->item(0)->text().size(), 33);
        EXPECT_EQ(w.lbDataSet->currentRow(), 0);
        EXPECT_TRUE(w.lbDataSet->font().fixedPitch());
        // Create waits, hidden, where Next is; the options at their start.
        EXPECT_TRUE(w.bnNext->isVisible());
        EXPECT_FALSE(w.bnCreate->isVisible());
        EXPECT_EQ(w.bnCreate->pos(), w.bnNext->pos());
        EXPECT_TRUE(w.bnCreate->isDefault());
        EXPECT_FALSE(w.sbAddField->isEnabled());
        EXPECT_FALSE(w.sbAddAllField->isEnabled());
        EXPECT_TRUE(w.cbUseDateEdit->isChecked());
        EXPECT_EQ(w.rgLabelPos->ItemIndex(), 0);
        for (const char* name : {"NB",
                                 "Panel1",
                                 "Bevel1",
                                 "btCancel",
                                 "Panel2",
                                 "bnBack",
                                 "bnNext",
                                 "bnCreate",
                                 "Label1",
                                 "Label2",
                                 "lbDataSet",
                                 "Label4",
                                 "Label5",
                                 "lbField",
                                 "sbAddField",
                                 "sbAddAllField",
                                 "sbDelField",
                                 "sbDelAllField",
                                 "lbAField",
                                 "Label6",
                                 "cbUseDateEdit",
                                 "Label7",
                                 "rgLabelPos",
                                 "Label8",
                                 "Image1",
                                 "Image8"})
            EXPECT_NE(w.findChild<QWidget*>(name), nullptr) << name;
        // Every explanation fits the box it was laid out for, whatever the machine's
        // fonts: nothing is cut off.
        for (QLabel* label : {w.Label1, w.Label6, w.Label7, w.Label8})
            EXPECT_LE(label->heightForWidth(label->width()), label->height())
                << label->objectName().toStdString();
        Click(w.bnBack); // nothing before the first page
        EXPECT_EQ(w.NB->PageIndex(), pgDataSet);
        Click(w.btCancel);
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(Root()->ComponentCount(), components);
    EXPECT_TRUE(FHost.Services().Messages().empty());
}

TEST_F(FldExpTest, ThePagesAndTheListMovesByMouse) {
    Design(OrdersForm());
    EXPECT_TRUE(Run([&](TFldExpert& w) {
        Click(w.lbDataSet, 0); // choosing a line is Next
        EXPECT_EQ(w.NB->PageIndex(), pgFields);
        EXPECT_EQ(Texts(w.lbField), AllFields);
        EXPECT_EQ(w.lbAField->count(), 0);
        EXPECT_FALSE(w.sbAddField->isEnabled());

        // Two items apart: a click and a Ctrl+click, then ">".
        Click(w.lbField, 1);
        Click(w.lbField, 3, Qt::ControlModifier);
        Click(w.sbDelField);
        EXPECT_EQ(Texts(w.lbField), (Strings{"Amount", "CustNo", "SaleDate"}));
        EXPECT_EQ(Texts(w.lbAField), (Strings{"Company", "Paid"}));
        ASSERT_EQ(w.lbField->selectedItems().size(), 1);
        EXPECT_EQ(w.lbField->selectedItems()[0]->text(), "CustNo");
        EXPECT_TRUE(w.sbAddField->isEnabled());

        // A double click in the Available list moves the item back.
        Click(w.lbAField, 1); // the view takes a double click on the item it was pressed on
        QTest::mouseDClick(w.lbAField->viewport(), Qt::LeftButton, {}, ItemAt(w.lbAField, 1));
        EXPECT_EQ(Texts(w.lbAField), Strings{"Company"});
        EXPECT_EQ(Texts(w.lbField), (Strings{"Amount", "CustNo", "Paid", "SaleDate"}));

        // "<<" then ">>": all out, Next disabled; "<<" brings them back.
        Click(w.sbAddAllField);
        Click(w.sbDelAllField);
        EXPECT_EQ(w.lbField->count(), 0);
        EXPECT_EQ(Texts(w.lbAField), AllFields);
        EXPECT_FALSE(w.bnNext->isEnabled());
        EXPECT_FALSE(w.sbDelField->isEnabled());
        Click(w.sbAddAllField);
        EXPECT_TRUE(w.bnNext->isEnabled());

        Click(w.bnNext);
        EXPECT_EQ(w.NB->PageIndex(), pgOptions);
        EXPECT_FALSE(w.bnNext->isVisible());
        EXPECT_TRUE(w.bnCreate->isVisible());
        EXPECT_EQ(w.bnCreate->pos(), w.bnNext->pos());
        Click(w.bnBack);
        EXPECT_EQ(w.NB->PageIndex(), pgFields);
        EXPECT_TRUE(w.bnNext->isVisible());
        EXPECT_FALSE(w.bnCreate->isVisible());
    }));
    EXPECT_TRUE(FHost.Services().Errors().empty());
}

TEST_F(FldExpTest, CreateGeneratesOnTheDesignedFormAndCloses) {
    Design(OrdersForm());
    bool closed = false;
    EXPECT_TRUE(Run([&](TFldExpert& w) {
        Click(w.bnNext);
        Click(w.lbField, 0); // Amount left out
        Click(w.sbDelField);
        Click(w.bnNext);
        w.rgLabelPos->SetItemIndex(1);
        Click(w.bnCreate);
        closed = !w.isVisible();
    }));
    EXPECT_TRUE(closed);
    EXPECT_EQ(Find("edAmount"), nullptr);
    for (const char* name : {"lbCompany", "edCompany", "lbCustNo", "edCustNo", "lbSaleDate"})
        EXPECT_NE(Find(name), nullptr) << name;
    EXPECT_EQ(Find("edSaleDate")->ClassName(), "TDBDateEdit");
    EXPECT_EQ(Find("edCompany")->GetRef("DataSource"), Find("OrdersSrc"));
    EXPECT_EQ(Find("lbCompany")->GetString("Alignment"), "taRightJustify");
    EXPECT_TRUE(FHost.Services().Errors().empty());
}

TEST_F(FldExpTest, ErrorsShowInTheHostsBoxAndTheWizardStaysOnItsPage) {
    Design(OrdersForm("  object lbCustNo: TLabel\n  end\n"));
    ASSERT_NE(Find("lbCustNo"), nullptr);
    const int components = Root()->ComponentCount();
    EXPECT_TRUE(Run([&](TFldExpert& w) {
        // A table that is not there: one error box, the field page with nothing on it.
        Click(w.lbDataSet, 1);
        ASSERT_EQ(FHost.Services().Errors().size(), 1u);
        EXPECT_NE(FHost.Services().Errors()[0].find("nothing"), std::string::npos);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.NB->PageIndex(), pgFields);
        EXPECT_EQ(w.lbField->count(), 0);
        EXPECT_FALSE(w.bnNext->isEnabled());

        // Back to the good table; a name already on the form stops the generation.
        Click(w.bnBack);
        Click(w.lbDataSet, 0);
        Click(w.bnNext);
        Click(w.bnCreate);
        ASSERT_EQ(FHost.Services().Errors().size(), 2u);
        EXPECT_EQ(FHost.Services().Errors()[1], "A component named lbCustNo already exists");
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.NB->PageIndex(), pgOptions);
    }));
    // The fields before CustNo were made (the data source is the existing one).
    EXPECT_NE(Find("edCompany"), nullptr);
    EXPECT_EQ(Find("edCustNo"), nullptr);
    EXPECT_EQ(Root()->ComponentCount(), components + 4);
}

} // namespace
} // namespace vesk
