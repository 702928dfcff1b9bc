#include "ide/form/FormView.h"
#include "library/effects/LblEffct.h"
#include "library/effects/VeskButton.h"
#include "library/package/VeskPackage.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace vesk {
namespace {

const std::string Sample = VESK_SOURCE_DIR "/examples/sample/";

class FormViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterVeskPackage(); }
    static void TearDownTestSuite() { UnregisterVeskPackage(); }

    std::unique_ptr<TFormFile> FForm = TFormFile::LoadFromFile(Sample + "OrderEntry.dfm");
};

QPoint CentreOn(TFormView& view, QWidget& widget) {
    return widget.mapTo(view.FormWidget(), widget.rect().center());
}

QWidget* Surface(TFormView& view) {
    return view.findChild<QWidget*>("FormSurface");
}

TEST_F(FormViewTest, AClickSelectsTheComponentAndNeverReachesItsWidget) {
    TFormView view(*FForm);
    view.resize(500, 400);
    view.show();
    ASSERT_NE(view.FormWidget(), nullptr);
    EXPECT_EQ(view.findChild<QLabel*>("FormCaption")->text(), "Order Entry");
    TComponent* edit = FForm->Root()->FindComponent("DBEdit2");
    auto* editWidget = qobject_cast<QLineEdit*>(view.WidgetOf(edit));
    ASSERT_NE(editWidget, nullptr);
    EXPECT_EQ(view.ComponentAt(editWidget), edit);
    EXPECT_EQ(view.Selected(), FForm->Root());

    QSignalSpy selected(&view, &TFormView::selectionChanged);
    QTest::mouseClick(Surface(view), Qt::LeftButton, {}, CentreOn(view, *editWidget));
    EXPECT_EQ(view.Selected(), edit);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_FALSE(editWidget->hasFocus());
    QTest::keyClicks(&view, "typed");
    EXPECT_TRUE(editWidget->text().isEmpty()); // the designed edit takes no typing
    // Classes without live widgets still stand where they are and can be picked: the
    // navigator keeps its bounds, the table is a tile at its stored place.
    TComponent* navigator = FForm->Root()->FindComponent("DBNavigator1");
    TComponent* table = FForm->Root()->FindComponent("tbOrders");
    ASSERT_NE(view.WidgetOf(navigator), nullptr);
    ASSERT_NE(view.WidgetOf(table), nullptr);
    EXPECT_EQ(view.WidgetOf(navigator)->geometry(),
              QRect(navigator->GetInt("Left"), navigator->GetInt("Top"), navigator->GetInt("Width"),
                    navigator->GetInt("Height")));
    EXPECT_EQ(view.WidgetOf(table)->pos(), QPoint(table->GetInt("Left"), table->GetInt("Top")));
    QTest::mouseClick(Surface(view), Qt::LeftButton, {}, CentreOn(view, *view.WidgetOf(table)));
    EXPECT_EQ(view.Selected(), table);
    // A click on the form's empty space selects the form.
    QTest::mouseClick(Surface(view), Qt::LeftButton, {}, QPoint(400, 250));
    EXPECT_EQ(view.Selected(), FForm->Root());
    const std::string before = FForm->Save();
    EXPECT_EQ(FForm->Save(), before); // looking and clicking changed nothing in the model
}

TEST_F(FormViewTest, AMenuIsOneTileAndItsItemsShowWithIt) {
    auto form = TFormFile::LoadFromFile(Sample + "MainForm.dfm");
    TFormView view(*form);
    EXPECT_NE(view.WidgetOf(form->Root()->FindComponent("MainMenu1")), nullptr);
    EXPECT_EQ(view.WidgetOf(form->Root()->FindComponent("miFile")), nullptr);
    EXPECT_EQ(view.WidgetOf(form->Root()->FindComponent("miExit")), nullptr);
}

TEST_F(FormViewTest, AChangedModelIsRedrawnAtRefreshAndTheSelectionKept) {
    TFormView view(*FForm);
    EXPECT_FALSE(view.Refresh()); // nothing changed
    TComponent* edit = FForm->Root()->FindComponent("DBEdit1");
    view.Select(edit);
    edit->SetName("edOrderNo");
    edit->SetValue("Left", TValue::Integer(120));
    auto* added = new TComponent("TDBCheckBox", FForm->Root());
    added->SetName("cbNew");
    added->SetValue("Caption", TValue::String("New one"));
    ASSERT_TRUE(view.Refresh());
    EXPECT_FALSE(view.Refresh());
    EXPECT_EQ(view.Selected(), edit);
    ASSERT_NE(view.WidgetOf(edit), nullptr);
    EXPECT_EQ(view.WidgetOf(edit)->x(), 120);
    EXPECT_NE(view.WidgetOf(added), nullptr);
    // The selected component taken away: the form is selected.
    QSignalSpy selected(&view, &TFormView::selectionChanged);
    edit->Free();
    ASSERT_TRUE(view.Refresh());
    EXPECT_EQ(view.Selected(), FForm->Root());
    EXPECT_EQ(selected.count(), 1);
}

TEST_F(FormViewTest, AModelTheWidgetsRefuseKeepsTheOldWidgets) {
    TFormView view(*FForm);
    QWidget* label = view.WidgetOf(FForm->Root()->FindComponent("Label1"));
    ASSERT_NE(label, nullptr);
    FForm->Root()->FindComponent("Label1")->SetValue("Font.Name", TValue::String(""));
    EXPECT_ANY_THROW(view.Refresh());
    EXPECT_EQ(view.WidgetOf(FForm->Root()->FindComponent("Label1")), label);
}

TEST_F(FormViewTest, TheLibrarysOwnControlsAreDrawnLive) {
    auto form = TFormFile::Parse("object F: TForm1\n  Width = 300\n  Height = 160\n"
                                 "  Caption = 'Effects'\n"
                                 "  object Effect: TLabelEffect\n    Left = 8\n    Top = 8\n"
                                 "    Width = 180\n    Height = 40\n    Caption = 'Vesk'\n"
                                 "    EffectStyle = esRaised\n  end\n"
                                 "  object Round: TVeskSpeedButton\n    Left = 200\n"
                                 "    Top = 8\n    Width = 40\n    Height = 40\n  end\n"
                                 "end\n");
    TFormView view(*form);
    view.resize(340, 220);
    view.show();
    QWidget* effect = view.WidgetOf(form->Root()->FindComponent("Effect"));
    QWidget* round = view.WidgetOf(form->Root()->FindComponent("Round"));
    ASSERT_NE(dynamic_cast<TLabelEffect*>(effect), nullptr);
    ASSERT_NE(dynamic_cast<TVeskSpeedButton*>(round), nullptr);
    EXPECT_EQ(effect->parentWidget(), view.FormWidget());
    EXPECT_EQ(dynamic_cast<TLabelEffect*>(effect)->EffectStyle(), esRaised);
    view.grab().save(QString(VESK_BINARY_DIR) + "/form-view-effects.png");
    TFormView orders(*FForm);
    orders.resize(460, 380);
    orders.show();
    orders.Select(FForm->Root()->FindComponent("DBEdit2"));
    orders.grab().save(QString(VESK_BINARY_DIR) + "/form-view-orders.png");
}

} // namespace
} // namespace vesk
