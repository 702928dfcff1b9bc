// A form of the host's controls shown with live widgets from the component model.
#include "platform/qt/LiveWidget.h"
#include "platform/forms/FormFile.h"
#include "platform/qt/CustomLabel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace vesk {
namespace {

const char* const HostForm = "object Form1: TForm1\n"
                             "  Left = 100\n  Top = 80\n  Width = 300\n  Height = 200\n"
                             "  Caption = 'Orders'\n"
                             "  object Panel1: TPanel\n"
                             "    Left = 0\n    Top = 0\n    Width = 300\n    Height = 100\n"
                             "    BevelOuter = bvLowered\n"
                             "    object Label1: TLabel\n"
                             "      Left = 8\n      Top = 8\n      Caption = '&Name'\n"
                             "      FocusControl = Edit1\n      Font.Style = [fsBold]\n"
                             "      Font.Height = -16\n"
                             "    end\n"
                             "    object Edit1: TDBEdit\n"
                             "      Left = 60\n      Top = 8\n      Width = 120\n"
                             "      DataField = 'Name'\n      MaxLength = 20\n"
                             "      Text = 'Ann'\n      ReadOnly = True\n"
                             "    end\n"
                             "  end\n"
                             "  object Group: TGroupBox\n"
                             "    Top = 100\n    Width = 300\n    Height = 100\n"
                             "    Caption = 'Flags'\n"
                             "    object Paid: TDBCheckBox\n"
                             "      Left = 8\n      Top = 20\n      Caption = 'Paid'\n"
                             "      Checked = True\n      Visible = False\n"
                             "    end\n"
                             "    object OK: TButton\n"
                             "      Left = 100\n      Top = 20\n      Caption = 'OK'\n"
                             "      Default = True\n      OnClick = OKClick\n"
                             "    end\n"
                             "  end\n"
                             "  object Timer1: TTimer\n  end\n"
                             "end\n";

TEST(LiveForm, TheHostsControlsAsWidgetsOnTheirParents) {
    auto form = TFormFile::Parse(HostForm);
    TLiveForm live(*form->Root());
    EXPECT_EQ(live.Count(), 7); // the timer has no live class
    QWidget* root = LiveWidget(live.Root());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->windowTitle(), "Orders");
    EXPECT_EQ(root->geometry(), QRect(100, 80, 300, 200));
    auto* panel = LiveObjectAs<QFrame>(live.FindLive("Panel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->parentWidget(), root);
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
    auto* label = LiveObjectAs<TCustomLabel>(live.FindLive("Label1"));
    EXPECT_EQ(label->parentWidget(), panel);
    EXPECT_EQ(label->Caption(), "&Name");
    EXPECT_EQ(label->Font().Style, fsBold);
    EXPECT_EQ(label->Font().Size, 12); // 16 pixels at 96 per inch
    auto* edit = LiveObjectAs<QLineEdit>(live.FindLive("edit1"));
    EXPECT_EQ(edit->text(), "Ann");
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->maxLength(), 20);
    EXPECT_EQ(edit->pos(), QPoint(60, 8));
    auto* group = LiveObjectAs<QGroupBox>(live.FindLive("Group"));
    EXPECT_EQ(group->title(), "Flags");
    auto* paid = LiveObjectAs<QCheckBox>(live.FindLive("Paid"));
    EXPECT_EQ(paid->parentWidget(), group);
    EXPECT_TRUE(paid->isChecked());
    EXPECT_TRUE(paid->isHidden());
    EXPECT_TRUE(LiveObjectAs<QPushButton>(live.FindLive("OK"))->isDefault());
    EXPECT_EQ(ValueText(*ReadLiveProperty(*live.FindLive("Paid"), "Caption")), "Paid");
    EXPECT_EQ(live.FindLive("Timer1"), nullptr);
    root->grab().save(QString(VESK_BINARY_DIR) + "/host-form.png");
    // Showing changed nothing in the model.
    EXPECT_EQ(form->Save(), HostForm);
}

TEST(LiveForm, BadValuesAreRefusedAndUnknownNamesReported) {
    auto form = TFormFile::Parse("object F: TForm\n  object L: TLabel\n  end\nend\n");
    TLiveForm live(*form->Root());
    TLiveObject& label = *live.FindLive("L");
    EXPECT_THROW(WriteLivePropertyText(label, "Alignment", "taMiddle"), EConvertError);
    EXPECT_THROW(WriteLivePropertyText(label, "Font.Name", ""), EConvertError);
    EXPECT_THROW(WriteLivePropertyText(label, "Colour", "clRed"), EPropertyError);
    EXPECT_THROW(WriteLivePropertyText(label, "FocusControl", "9lives"), EConvertError);
    EXPECT_FALSE(WriteLivePropertyText(label, "FocusControl", "Edit1")); // model only
    EXPECT_TRUE(WriteLivePropertyText(label, "Alignment", "tacenter"));
    EXPECT_EQ(LiveObjectAs<TCustomLabel>(&label)->Alignment(), taCenter);
    EXPECT_EQ(ValueText(*ReadLiveProperty(label, "Alignment")), "taCenter");
    EXPECT_TRUE(WriteLivePropertyText(label, "Name", "Renamed"));
    EXPECT_EQ(live.FindLive("Renamed"), &label);
}

} // namespace
} // namespace vesk
