#include "platform/qt/SlotGuard.h"
#include "platform/ota/HeadlessHost.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace vesk {
namespace {

using Strings = std::vector<std::string>;

TEST(SlotGuardTest, AnExceptionGoesToTheErrorBoxAndNoFurther) {
    THeadlessHost host;
    EXPECT_TRUE(Guarded([] {}));
    EXPECT_FALSE(Guarded([] { throw EConvertError("'x' is not a valid integer value"); }));
    EXPECT_FALSE(Guarded([] { throw 42; })); // not even an exception class
    EXPECT_EQ(host.Services().Errors(),
              (Strings{"'x' is not a valid integer value", "Unknown exception"}));
    const auto& shown = host.Services().Messages().front();
    EXPECT_EQ(shown.Type, TMsgDlgType::mtError);
    EXPECT_EQ(shown.Buttons, mbOK);
}

// Real widgets: a click whose slot raises keeps the window working, and a slot with
// arguments gets the signal's.
TEST(SlotGuardTest, SlotsConnectedThroughItRunGuarded) {
    THeadlessHost host;
    QPushButton button("Go");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, &button, GuardedSlot([&] {
        if (++clicks == 1)
            throw Exception("first click fails");
    }));
    QLineEdit edit;
    std::string typed;
    QObject::connect(&edit, &QLineEdit::textChanged, &edit,
                     GuardedSlot([&](const QString& text) { typed = text.toStdString(); }));
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(host.Services().Errors(), Strings{"first click fails"});
    QTest::keyClicks(&edit, "ab");
    EXPECT_EQ(typed, "ab");
}

} // namespace
} // namespace vesk
