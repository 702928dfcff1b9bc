#include "library/utility/VeskFastTm.h"
#include "platform/rtl/FloatFormat.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vesk {
namespace {

// A clock the test moves by hand: 1000 counts a second.
class TManualClock : public TFastClock {
public:
    std::int64_t Frequency() const override { return 1000; }
    std::int64_t Counter() const override { return Now; }
    std::int64_t Now = 5000;
};

class FastTime : public ::testing::Test {
protected:
    void SetUp() override {
        FSaved = FormatSettings();
        FormatSettings() = TFormatSettings{".", ","};
    }
    void TearDown() override {
        FormatSettings() = FSaved;
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    TManualClock FClock;
    TFormatSettings FSaved;
};

TEST_F(FastTime, StopShowsTheCaptionAndTheSecondsInNumberFormat) {
    TVeskFastTime watch(nullptr, FClock);
    QLabel label("idle");
    watch.SetDisplayControl(&label);
    EXPECT_EQ(watch.TimeText(), "");
    EXPECT_EQ(watch.DisplayCaption(), "Sec: ");
    EXPECT_EQ(watch.Decimal(), 2);
    EXPECT_TRUE(watch.WaitCursor());

    watch.Start();
    EXPECT_FALSE(label.isEnabled());
    FClock.Now += 1234568; // 1234.568 s
    watch.Stop();
    EXPECT_EQ(watch.TimeText(), "Sec: 1,234.57");
    EXPECT_EQ(label.text(), "Sec: 1,234.57");
    EXPECT_TRUE(label.isEnabled());

    watch.SetDecimal(0);
    watch.Stop();
    EXPECT_EQ(watch.TimeText(), "Sec: 1,235");
}

TEST_F(FastTime, ReadingsBeforeStartAreZeroAndGetTimeOnlyMovesStopCount) {
    TVeskFastTime watch(nullptr, FClock);
    EXPECT_EQ(watch.GetTime(), "0.00");
    watch.Start();
    const std::int64_t start = watch.Counter().StartCount;
    FClock.Now += 1500;
    EXPECT_EQ(watch.GetTime(), "1.50");
    FClock.Now += 10;
    EXPECT_EQ(watch.GetTime(), "1.51");
    EXPECT_EQ(watch.Counter().StartCount, start);
    EXPECT_EQ(watch.Counter().StopCount, FClock.Now);
    EXPECT_EQ(watch.TimeText(), "");
    // A second Start takes a new starting point.
    watch.Start();
    FClock.Now += 250;
    watch.Stop();
    EXPECT_EQ(watch.TimeText(), "Sec: 0.25");
}

TEST_F(FastTime, ButtonsEditsAndDestroyedControls) {
    TVeskFastTime watch(nullptr, FClock);
    {
        QPushButton button;
        watch.SetDisplayControl(&button);
        watch.Start();
        watch.Stop();
        EXPECT_EQ(button.text(), "Sec: 0.00");
    }
    EXPECT_EQ(watch.DisplayControl(), nullptr);
    watch.Start();
    watch.Stop(); // no control left: only TimeText changes
    EXPECT_EQ(watch.TimeText(), "Sec: 0.00");

    auto* edit = new QLineEdit;
    watch.SetDisplayControl(edit);
    watch.SetDisplayCaption("T=");
    watch.Stop();
    EXPECT_EQ(edit->text(), "T=0.00");
    delete edit;
    EXPECT_EQ(watch.DisplayControl(), nullptr);
}

TEST_F(FastTime, WaitCursorWhileRunningAndDefaultAfterStop) {
    TVeskFastTime watch(nullptr, FClock);
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    watch.Start();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    watch.Stop();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    watch.SetWaitCursor(false);
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    watch.Start();
    watch.Stop();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
}

TEST(FastClock, SteadyClockCountsForward) {
    const TFastClock& clock = SystemFastClock();
    EXPECT_GE(clock.Frequency(), 1000000);
    TFastTimeCounter counter;
    counter.Start();
    const long double first = counter.Read();
    EXPECT_GE(counter.Read(), first);
    EXPECT_GE(first, 0);
}

} // namespace
} // namespace vesk
