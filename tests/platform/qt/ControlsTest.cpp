// The engines' view of list boxes, controls and notebooks: the plain models and the Qt
// adapters must behave alike, since the same engine steps run on both. And the host's
// picture, paint box, notebook, radio group and animated image as widgets.
#include "platform/controls/ControlIntf.h"
#include "platform/qt/ExtCtrls.h"
#include "platform/qt/FormAdapters.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vesk {
namespace {

struct TItemObject : TObject {};

// A list box of either kind, with its texts.
struct TListUnderTest {
    std::unique_ptr<QListWidget> Widget; // for the adapter only
    std::unique_ptr<IListBox> List;
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (int i = 0; i < List->Count(); ++i)
            texts.push_back(List->Strings(i));
        return texts;
    }
    std::vector<int> Selected() const {
        std::vector<int> selected;
        for (int i = 0; i < List->Count(); ++i)
            if (List->Selected(i))
                selected.push_back(i);
        return selected;
    }
};

using TListFactory = std::function<TListUnderTest(bool sorted, bool multiSelect)>;

TListUnderTest ModelList(bool sorted, bool multiSelect) {
    return {nullptr, std::make_unique<TListBoxModel>(sorted, multiSelect)};
}

TListUnderTest QtList(bool sorted, bool multiSelect) {
    TListUnderTest t;
    t.Widget = std::make_unique<QListWidget>();
    t.Widget->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                           : QAbstractItemView::SingleSelection);
    t.List = std::make_unique<TQtListBox>(t.Widget.get(), sorted);
    return t;
}

class ListBoxes : public ::testing::TestWithParam<TListFactory> {};

TEST_P(ListBoxes, SortedListsPlaceItemsWithoutRegardToCaseAndKeepTheirObjects) {
    TListUnderTest t = GetParam()(true, true);
    TItemObject object;
    t.List->Add("ShipVia");
    t.List->Add("amount");
    EXPECT_EQ(t.List->AddObject("CustNo", &object), 1);
    t.List->Add("Amount"); // after the equal one
    EXPECT_EQ(t.Texts(), (std::vector<std::string>{"amount", "Amount", "CustNo", "ShipVia"}));
    EXPECT_EQ(t.List->Objects(2), &object);
    EXPECT_EQ(t.List->Objects(0), nullptr);

    // Multiple selection: items are selected one by one; deleting keeps the others'.
    t.List->SetSelected(1, true);
    t.List->SetSelected(3, true);
    t.List->Delete(2);
    EXPECT_EQ(t.Selected(), (std::vector<int>{1, 2}));
    EXPECT_THROW(t.List->Strings(3), EListError);
    EXPECT_THROW(t.List->Delete(-1), EListError);
    t.List->Clear();
    EXPECT_EQ(t.List->Count(), 0);
    EXPECT_EQ(t.List->ItemIndex(), -1);
}

TEST_P(ListBoxes, UnsortedSingleSelectionListsSelectThroughTheItemIndex) {
    TListUnderTest t = GetParam()(false, false);
    t.List->Add("b");
    t.List->Add("a");
    EXPECT_EQ(t.Texts(), (std::vector<std::string>{"b", "a"}));
    t.List->SetItemIndex(1);
    EXPECT_EQ(t.List->ItemIndex(), 1);
    EXPECT_EQ(t.Selected(), std::vector<int>{1});
    t.List->SetSelected(0, true); // one at a time
    EXPECT_EQ(t.Selected(), std::vector<int>{0});
    EXPECT_EQ(t.List->ItemIndex(), 0);
    t.List->SetItemIndex(-1);
    EXPECT_TRUE(t.Selected().empty());
}

// Named, not printed: a printed function object is its bytes, which change from run to run.
INSTANTIATE_TEST_SUITE_P(ModelAndQt, ListBoxes, ::testing::Values(ModelList, QtList),
                         [](const auto& info) { return info.index == 0 ? "Model" : "Qt"; });

TEST(Controls, AdaptersReadAndSetTheWidgetsOwnState) {
    QWidget window;
    auto* button = new QWidget(&window);
    button->move(153, 4);
    TQtControl control(button);
    EXPECT_TRUE(control.Visible()); // its own flag, though the window is not shown
    control.SetVisible(false);
    EXPECT_TRUE(button->isHidden());
    control.SetEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    control.SetLeft(170);
    EXPECT_EQ(button->pos(), QPoint(170, 4));
    delete button;
    EXPECT_FALSE(control.Visible()); // gone: reads as hidden, changes are ignored
    control.SetLeft(1);
}

TEST(Controls, NotebooksChangeOnlyToAnotherPageThatExists) {
    TNotebook notebook;
    for (int i = 0; i < 3; ++i)
        notebook.addWidget(new QWidget);
    QSignalSpy changed(&notebook, &TNotebook::OnPageChanged);
    TQtNotebook adapter(&notebook);
    adapter.SetPageIndex(2);
    adapter.SetPageIndex(2);
    adapter.SetPageIndex(3);
    adapter.SetPageIndex(-1);
    EXPECT_EQ(adapter.PageIndex(), 2);
    EXPECT_EQ(changed.count(), 1);

    TNotebookModel model(3);
    int calls = 0;
    model.OnPageChanged = [&] { ++calls; };
    model.SetPageIndex(1);
    model.SetPageIndex(1);
    model.SetPageIndex(5);
    EXPECT_EQ(model.PageIndex(), 1);
    EXPECT_EQ(calls, 1);
}

TEST(Controls, RadioGroupTicksOneItemOrNone) {
    TRadioGroup group("Arrangement TLabel", {"Label Up", "Label Left"}, 2);
    EXPECT_EQ(group.ItemIndex(), -1);
    group.SetItemIndex(1);
    EXPECT_EQ(group.ItemIndex(), 1);
    EXPECT_TRUE(group.Button(1)->isChecked());
    group.SetItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
    // Two columns: the items side by side.
    group.resize(285, 45);
    group.show();
    EXPECT_LT(group.Button(0)->geometry().right(), group.Button(1)->geometry().left());
}

TEST(Controls, AnimatedImageCyclesThroughItsFrames) {
    QWidget back;
    back.setAutoFillBackground(true);
    back.setPalette(QPalette(Qt::white));
    back.resize(32, 32);
    TAnimatedImage& image = *new TAnimatedImage(&back);
    image.setGeometry(0, 0, 32, 32);
    auto strip = std::make_unique<TQtBitmap>(9 * 32, 32);
    for (int i = 0; i < 9; ++i) {
        strip->Canvas().SetBrushColor(RGB(std::uint8_t(i * 20), 0, 0));
        strip->Canvas().FillRect(Rect(i * 32 + 4, 4, i * 32 + 28, 28));
    }
    image.SetGlyph(std::move(strip), 9);
    EXPECT_EQ(image.NumGlyphs(), 9);
    image.SetGlyphNum(4);
    image.SetGlyphNum(9); // no such frame
    EXPECT_EQ(image.GlyphNum(), 4);
    for (int i = 0; i < 5; ++i)
        image.NextFrame();
    EXPECT_EQ(image.GlyphNum(), 0); // round from the last to the first
    image.SetInterval(83);
    image.SetActive(true);
    EXPECT_TRUE(image.Active());
    EXPECT_EQ(image.Interval(), 83);

    // Transparent: the strip's bottom-left colour (black) is left out.
    image.SetGlyphNum(8);
    image.SetTransparent(true);
    const QImage shown = back.grab().toImage();
    EXPECT_EQ(shown.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(16, 16), qRgb(160, 0, 0));
}

TEST(Controls, PaintBoxCanvasOnlyWhilePaintingAndImagesMakeTheirPicture) {
    TPaintBox box;
    EXPECT_THROW(box.Canvas(), EInvalidGraphic);
    int painted = 0;
    QObject::connect(&box, &TPaintBox::OnPaint, [&] {
        box.Canvas().SetBrushColor(clLime);
        box.Canvas().FillRect(Rect(0, 0, 10, 10));
        ++painted;
    });
    box.resize(10, 10);
    const QImage shown = box.grab().toImage();
    EXPECT_GE(painted, 1);
    EXPECT_EQ(shown.pixel(5, 5), qRgb(0, 255, 0));

    TImage image;
    image.resize(20, 10);
    image.Canvas().SetPenColor(clWhite); // no picture yet: one the control's size
    ASSERT_NE(image.Picture(), nullptr);
    EXPECT_EQ(image.Picture()->Width(), 20);
    image.SetPicture(std::make_unique<TQtBitmap>(5, 6));
    image.SetAutoSize(true);
    EXPECT_EQ(image.size(), QSize(5, 6));
}

} // namespace
} // namespace vesk
