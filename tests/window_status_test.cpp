#include "basLibStatusBar.h"
#include "QtPrinters.h"

#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

using wordloom::StatusBar;

namespace {

TEST(StatusBar, EveryPostIsDeliveredButPumpsAreSpaced)
{
    StatusBar bar;
    QSignalSpy spy(&bar, &StatusBar::posted);
    bar.pumpNextPost();
    for (int i = 0; i < 20000; ++i)
        basLibStatusBar::ShowStatus(bar, 1, QStringLiteral("Words: %1").arg(i));
    ASSERT_EQ(spy.count(), 20000);
    EXPECT_EQ(spy.at(19999).at(0).toString(), QStringLiteral("Words: 19999"));
    EXPECT_GE(bar.pumpCount(), 1);            // the first post always pumps
    EXPECT_LT(bar.pumpCount(), 20000 / 10);   // but not each one
    bar.flush();
    EXPECT_EQ(bar.panelText(1), QStringLiteral("Status: Words: 19999"));
}

TEST(StatusBar, WithoutAnIntervalEveryPostPumpsEvents)
{
    StatusBar bar;
    bar.setPumpInterval(0);
    int ticks = 0;
    for (int i = 0; i < 5; ++i) {
        QTimer::singleShot(0, &bar, [&] { ++ticks; });
        basLibStatusBar::ShowStatus(bar, 1, QStringLiteral("x"));
        EXPECT_EQ(ticks, i + 1);
    }
    EXPECT_EQ(bar.pumpCount(), 5);
}

} // namespace
