#include "ui/SimpleTimer.h"

#include <gtest/gtest.h>

namespace kalendo {
namespace {

TEST(SimpleTimer, needsAnIntervalToStart) {
    TSimpleTimer timer;
    EXPECT_EQ(timer.Interval(), 1000u);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Start());
    EXPECT_FALSE(timer.Running());
    EXPECT_FALSE(timer.Enabled());
}

TEST(SimpleTimer, countsRunningTimersAcrossInstances) {
    const int before = TSimpleTimer::RunningCount();
    {
        TSimpleTimer first;
        TSimpleTimer second;
        EXPECT_TRUE(first.Start());
        EXPECT_TRUE(first.Start()) << "a restart is not a second running timer";
        second.SetEnabled(true);
        EXPECT_EQ(TSimpleTimer::RunningCount(), before + 2);
        second.Stop(false);
        EXPECT_TRUE(second.Enabled()) << "stopping without disabling keeps the switch on";
        EXPECT_EQ(TSimpleTimer::RunningCount(), before + 1);
        second.Stop(false);
        EXPECT_EQ(TSimpleTimer::RunningCount(), before + 1) << "stopping twice counts once";
    }
    EXPECT_EQ(TSimpleTimer::RunningCount(), before) << "destroying a running timer stops it";
}

TEST(SimpleTimer, newIntervalRestartsOrStopsARunningTimer) {
    TSimpleTimer timer;
    timer.SetEnabled(true);
    timer.SetInterval(250);
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(timer.Interval(), 250u);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    EXPECT_FALSE(timer.Enabled());

    TSimpleTimer idle;
    idle.SetInterval(300);
    EXPECT_FALSE(idle.Running()) << "a stopped timer is not started by a new interval";
}

TEST(SimpleTimer, tickCallsTheHandlerAndAutoDisableStopsFirst) {
    TSimpleTimer timer;
    int ticks = 0;
    bool runningDuringHandler = true;
    timer.SetOnTimer([&] {
        ++ticks;
        runningDuringHandler = timer.Running();
    });
    timer.SetAutoDisable(true);
    timer.Start();
    timer.Tick();
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(runningDuringHandler);
    EXPECT_FALSE(timer.Enabled());

    timer.SetAutoDisable(false);
    timer.Start();
    timer.Tick();
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(ticks, 2);
}

TEST(SimpleTimer, clearingTheHandlerStopsTheTimer) {
    TSimpleTimer timer;
    timer.SetOnTimer([] {});
    timer.Start();
    timer.SetOnTimer(nullptr);
    EXPECT_FALSE(timer.Running());
    timer.Tick(); // no handler: nothing to call, nothing to crash
}

} // namespace
} // namespace kalendo
