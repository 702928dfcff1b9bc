#include "ide/form/FormView.h"
#include "library/effects/LblEffct.h"
#include "library/effects/VeskButton.h"
#include "library/package/VeskPackage.h"

#include <QClipboard>
#include <QGuiApplication>
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

    TComponent* Find(const char* name) const { return FForm->Root()->FindComponent(name); }

    std::unique_ptr<TFormFile> FForm = TFormFile::LoadFromFile(Sample + "OrderEntry.dfm");
};

QPoint CentreOn(TFormView& view, QWidget& widget) {
    return widget.mapTo(view.FormWidget(), widget.rect().center());
}

QWidget* Surface(TFormView& view) {
    return view.findChild<QWidget*>("FormSurface");
}

// Shows the view at Size, as the user sees it; its surface takes the mouse.
QWidget* Shown(TFormView& view, QSize size) {
    view.resize(size);
    view.show();
    return Surface(view);
}

TEST_F(FormViewTest, AClickSelectsTheComponentAndNeverReachesItsWidget) {
    TFormView view(*FForm);
    Shown(view, {500, 400});
    ASSERT_NE(view.FormWidget(), nullptr);
    EXPECT_EQ(view.findChild<QLabel*>("FormCaption")->text(), "Order Entry");
    TComponent* edit = Find("DBEdit2");
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
    TComponent* navigator = Find("DBNavigator1");
    TComponent* table = Find("tbOrders");
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
    TComponent* edit = Find("DBEdit1");
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
    QWidget* label = view.WidgetOf(Find("Label1"));
    ASSERT_NE(label, nullptr);
    Find("Label1")->SetValue("Font.Name", TValue::String(""));
    EXPECT_ANY_THROW(view.Refresh());
    EXPECT_EQ(view.WidgetOf(Find("Label1")), label);
}

TEST_F(FormViewTest, AnEditTheWidgetsRefuseIsReportedKeptInTheModelAndUndone) {
    const std::string original = FForm->Save();
    TFormView view(*FForm);
    QSignalSpy errors(&view, &TFormView::designError);
    QSignalSpy changed(&view, &TFormView::modelChanged);
    TComponent* label = Find("Label1");
    view.Select(label);
    ASSERT_TRUE(view.Designer().Modify([&] { label->SetValue("Font.Name", TValue::String("")); }));
    EXPECT_EQ(errors.count(), 1);
    EXPECT_EQ(changed.count(), 1); // the module holds the change: it is modified
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(FForm->Save(), original);
    // Drawn again from the model as it was; no widget stands for a replaced component.
    TComponent* now = Find("Label1");
    ASSERT_NE(view.WidgetOf(now), nullptr);
    EXPECT_EQ(view.ComponentAt(view.WidgetOf(now)), now);
    EXPECT_EQ(view.Selected(), now);
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
    Shown(view, {340, 220});
    QWidget* effect = view.WidgetOf(form->Root()->FindComponent("Effect"));
    QWidget* round = view.WidgetOf(form->Root()->FindComponent("Round"));
    ASSERT_NE(dynamic_cast<TLabelEffect*>(effect), nullptr);
    ASSERT_NE(dynamic_cast<TVeskSpeedButton*>(round), nullptr);
    EXPECT_EQ(effect->parentWidget(), view.FormWidget());
    EXPECT_EQ(dynamic_cast<TLabelEffect*>(effect)->EffectStyle(), esRaised);
    view.grab().save(QString(VESK_BINARY_DIR) + "/form-view-effects.png");
    TFormView orders(*FForm);
    Shown(orders, {460, 380});
    orders.Select(Find("DBEdit2"));
    orders.grab().save(QString(VESK_BINARY_DIR) + "/form-view-orders.png");
}

// Drags with the left button from From to To on the surface, as a user does.
void Drag(QWidget* surface, QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
    QTest::mousePress(surface, Qt::LeftButton, mods, from);
    QTest::mouseMove(surface, (from + to) / 2);
    QTest::mouseMove(surface, to);
    QTest::mouseRelease(surface, Qt::LeftButton, mods, to);
}

TEST_F(FormViewTest, DraggingMovesAndResizesThroughTheModelAndCtrlZTakesItBack) {
    const std::string original = FForm->Save();
    TFormView view(*FForm);
    QWidget* surface = Shown(view, {500, 400});
    QSignalSpy changed(&view, &TFormView::modelChanged);
    TComponent* edit = Find("DBEdit2");
    const QPoint centre = CentreOn(view, *view.WidgetOf(edit));
    Drag(surface, centre, centre + QPoint(16, 8));
    EXPECT_EQ(view.Selected(), edit);
    EXPECT_EQ(edit->GetInt("Left"), 24);
    EXPECT_EQ(edit->GetInt("Top"), 74);
    EXPECT_EQ(changed.count(), 1);                         // one step for the whole drag
    EXPECT_EQ(view.WidgetOf(edit)->pos(), QPoint(24, 74)); // redrawn from the model
    // The bottom right handle makes it larger; the top left stays.
    const QRect r = view.BoundsOnForm(edit);
    Drag(surface, r.bottomRight() + QPoint(1, 1), r.bottomRight() + QPoint(21, 11));
    EXPECT_EQ(edit->GetInt("Width"), 113);
    EXPECT_EQ(edit->GetInt("Height"), 31);
    EXPECT_EQ(edit->GetInt("Left"), 24);
    EXPECT_EQ(changed.count(), 2);
    // A click without a drag changes nothing.
    QTest::mouseClick(surface, Qt::LeftButton, {}, CentreOn(view, *view.WidgetOf(edit)));
    EXPECT_EQ(changed.count(), 2);

    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(FForm->Save(), original);
    edit = Find("DBEdit2"); // the model was rebuilt
    EXPECT_EQ(view.Selected(), edit);
    EXPECT_EQ(view.WidgetOf(edit)->pos(), QPoint(8, 66));
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Find("DBEdit2")->GetInt("Left"), 24);
    EXPECT_EQ(changed.count(), 5);
}

TEST_F(FormViewTest, ShiftClickAndTheRubberBandSelectSeveralAndTheKeysMoveThemAll) {
    TFormView view(*FForm);
    QWidget* surface = Shown(view, {500, 400});
    TComponent* label1 = Find("Label1");
    TComponent* label2 = Find("Label2");
    TComponent* edit1 = Find("DBEdit1");
    TComponent* check = Find("DBCheckBox1");
    QTest::mouseClick(surface, Qt::LeftButton, {}, CentreOn(view, *view.WidgetOf(label1)));
    QTest::mouseClick(surface, Qt::LeftButton, Qt::ShiftModifier,
                      CentreOn(view, *view.WidgetOf(check)));
    EXPECT_EQ(view.Selection(), (std::vector<TComponent*>{label1, check}));
    QTest::keyClick(&view, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(label1->GetInt("Left"), 9);
    EXPECT_EQ(label1->GetInt("Top"), 20);
    EXPECT_EQ(check->GetInt("Left"), 121);
    EXPECT_EQ(check->GetInt("Top"), 36);
    // A plain arrow selects the nearest component that way, from the first selected,
    // and moves nothing.
    const std::string moved = FForm->Save();
    QSignalSpy selected(&view, &TFormView::selectionChanged);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.Selection(), std::vector<TComponent*>{check});
    EXPECT_EQ(selected.count(), 1);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.Selected(), edit1);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.Selected(), label2);
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(view.Selected(), edit1);
    // The moved label overlaps the edit now: nothing lies wholly above it.
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(view.Selected(), edit1);
    EXPECT_EQ(selected.count(), 4);
    EXPECT_EQ(FForm->Save(), moved);
    // Shift+click again takes one away.
    QTest::mouseClick(surface, Qt::LeftButton, {}, CentreOn(view, *view.WidgetOf(check)));
    QTest::mouseClick(surface, Qt::LeftButton, Qt::ShiftModifier,
                      CentreOn(view, *view.WidgetOf(label2)));
    EXPECT_EQ(view.Selection(), (std::vector<TComponent*>{check, label2}));
    QTest::mouseClick(surface, Qt::LeftButton, Qt::ShiftModifier,
                      CentreOn(view, *view.WidgetOf(check)));
    EXPECT_EQ(view.Selection(), std::vector<TComponent*>{label2});

    // A band drawn from the empty space over the left column picks what it touches.
    Drag(surface, QPoint(2, 2), QPoint(50, 80));
    const auto& band = view.Selection();
    EXPECT_EQ(band.size(), 4u);
    for (TComponent* c : {label1, label2, edit1, Find("DBEdit2")})
        EXPECT_TRUE(view.Designer().IsSelected(c)) << c->Name();
    view.grab().save(QString(VESK_BINARY_DIR) + "/form-view-band.png");
    // Delete takes them all; the form is selected.
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(Find("Label2"), nullptr);
    EXPECT_EQ(view.Selected(), FForm->Root());
    EXPECT_EQ(view.WidgetOf(check)->parentWidget(), view.FormWidget());
}

TEST_F(FormViewTest, ACtrlDragOnAPanelSelectsWhatStandsOnItAndAPlainDragMovesIt) {
    auto form = TFormFile::Parse("object F: TForm1\n  Width = 400\n  Height = 300\n"
                                 "  object Panel1: TPanel\n    Left = 20\n    Top = 20\n"
                                 "    Width = 200\n    Height = 150\n"
                                 "    object Edit1: TEdit\n      Left = 10\n      Top = 10\n"
                                 "      Width = 80\n      Height = 21\n    end\n"
                                 "    object Edit2: TEdit\n      Left = 10\n      Top = 60\n"
                                 "      Width = 80\n      Height = 21\n    end\n"
                                 "    object Edit3: TEdit\n      Left = 110\n      Top = 110\n"
                                 "      Width = 80\n      Height = 21\n    end\n"
                                 "  end\n"
                                 "  object Label1: TLabel\n    Left = 240\n    Top = 30\n"
                                 "    Width = 60\n    Height = 13\n    Caption = 'Out'\n"
                                 "  end\n"
                                 "end\n");
    TFormView view(*form);
    QWidget* surface = Shown(view, {460, 360});
    TComponent* panel = form->Root()->FindComponent("Panel1");
    TComponent* edit1 = form->Root()->FindComponent("Edit1");
    TComponent* edit2 = form->Root()->FindComponent("Edit2");
    TComponent* label = form->Root()->FindComponent("Label1");
    ASSERT_NE(view.WidgetOf(panel), nullptr);
    ASSERT_NE(view.WidgetOf(label), nullptr);
    const std::string before = form->Save();
    // From the panel's empty space (left of Edit3) over the two edits on the left and
    // on past the panel's top right, over the label: the edits only.
    Drag(surface, QPoint(25, 125), QPoint(300, 5), Qt::ControlModifier);
    EXPECT_EQ(view.Selection(), (std::vector<TComponent*>{edit1, edit2}));
    EXPECT_EQ(form->Save(), before); // selecting moved nothing
    // Shift keeps what was picked; a band touching nothing on the panel adds nothing.
    Drag(surface, QPoint(200, 30), QPoint(210, 40), Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view.Selection(), (std::vector<TComponent*>{edit1, edit2}));
    // Ctrl+drag started on a control on the panel is the panel's band too.
    Drag(surface, CentreOn(view, *view.WidgetOf(edit2)), QPoint(215, 165), Qt::ControlModifier);
    EXPECT_EQ(view.Selection(),
              (std::vector<TComponent*>{edit2, form->Root()->FindComponent("Edit3")}));
    // A Ctrl+click on the panel selects it, as a click does.
    QTest::mouseClick(surface, Qt::LeftButton, Qt::ControlModifier, QPoint(150, 40));
    EXPECT_EQ(view.Selection(), std::vector<TComponent*>{panel});
    // Without Ctrl the same drag moves the panel, with what stands on it.
    Drag(surface, QPoint(25, 150), QPoint(35, 160));
    EXPECT_EQ(view.Selection(), std::vector<TComponent*>{panel});
    EXPECT_EQ(panel->GetInt("Left"), 30);
    EXPECT_EQ(panel->GetInt("Top"), 30);
    EXPECT_EQ(edit1->GetInt("Left"), 10);
    // On the form's empty space a Ctrl+band is the form's: the panel and the label.
    Drag(surface, QPoint(5, 5), QPoint(250, 40), Qt::ControlModifier);
    EXPECT_EQ(view.Selection(), (std::vector<TComponent*>{panel, label}));
}

TEST_F(FormViewTest, CopyPasteThroughTheClipboardAndADropFromThePalette) {
    TFormView view(*FForm);
    QWidget* surface = Shown(view, {500, 400});
    TComponent* edit = Find("DBEdit1");
    QTest::mouseClick(surface, Qt::LeftButton, {}, CentreOn(view, *view.WidgetOf(edit)));
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("object DBEdit1: TDBEdit"));
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    TComponent* copy = Find("DBEdit3");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(view.Selected(), copy);
    ASSERT_NE(view.WidgetOf(copy), nullptr);
    EXPECT_EQ(copy->GetRef("DataSource"), Find("dsOrders"));
    // Text that is no component is refused with a message; nothing changes.
    QSignalSpy errors(&view, &TFormView::designError);
    QGuiApplication::clipboard()->setText("hello");
    const std::string before = FForm->Save();
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(errors.count(), 1);
    EXPECT_EQ(FForm->Save(), before);
    // Cut: gone from the form, on the clipboard.
    QTest::keyClick(&view, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Find("DBEdit3"), nullptr);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("object DBEdit3: TDBEdit"));

    const TClassInfo* effect = TClassRegistry::Instance().Find("TLabelEffect");
    QSignalSpy dropped(&view, &TFormView::componentDropped);
    view.SetDropClass(effect);
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(200, 150));
    ASSERT_EQ(dropped.count(), 1);
    TComponent* made = Find("LabelEffect1");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(view.Selected(), made);
    EXPECT_EQ(view.DropClass(), nullptr); // the next click selects again
    EXPECT_NE(dynamic_cast<TLabelEffect*>(view.WidgetOf(made)), nullptr);
    EXPECT_EQ(view.WidgetOf(made)->pos(), QPoint(200, 150));
    // Sized to show its caption in the library's large font.
    EXPECT_GE(made->GetInt("Height"), 25);
    EXPECT_GE(made->GetInt("Width"), 120);
    view.grab().save(QString(VESK_BINARY_DIR) + "/form-view-dropped.png");
    // Saved and read back, the form is the same.
    const std::string saved = FForm->Save();
    EXPECT_EQ(TFormFile::Parse(saved)->Save(), saved);
}

} // namespace
} // namespace vesk
