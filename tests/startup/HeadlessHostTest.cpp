// SPDX-License-Identifier: MIT
//
// The headless host's virtual time: timers in order, events let run within a
// quantum, scripted actions, the end; and its simulated desktop and files.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/headless/HeadlessHost.h"

namespace corvane::headless {
namespace {

TEST(HeadlessHostTest, TimersFireInOrderOfDueTimeAndEqualTimesInScheduleOrder) {
    HeadlessHost host(0);
    std::vector<std::string> ticks;
    auto a = host.CreateTimer(
        300, [&] { ticks.push_back("a" + std::to_string(int(std::lround(host.Now() * 1000)))); });
    auto b = host.CreateTimer(
        150, [&] { ticks.push_back("b" + std::to_string(int(std::lround(host.Now() * 1000)))); });
    a->SetEnabled(true);
    b->SetEnabled(true);
    host.RunUntil(0.65);
    EXPECT_EQ(ticks, (std::vector<std::string>{"b150", "a300", "b300", "b450", "a600", "b600"}));
    EXPECT_DOUBLE_EQ(host.Now(), 0.65);
}

TEST(HeadlessHostTest, SwitchedOffTimerDeliversNothingAndANewIntervalStartsTheCountAgain) {
    HeadlessHost host(0);
    std::vector<double> ticks;
    auto t = host.CreateTimer(1000, [&] { ticks.push_back(host.Now()); });
    host.RunFor(5);
    EXPECT_TRUE(ticks.empty());
    t->SetEnabled(true);  // at 5 s
    host.RunFor(1.5);     // tick at 6
    t->SetInterval(200);  // at 6.5: the next tick is due at 6.7
    host.RunFor(0.25);
    EXPECT_EQ(ticks, (std::vector<double>{6.0, 6.7}));
    t->SetEnabled(true);  // already on: nothing changes
    t->SetEnabled(false);
    host.RunFor(3);
    EXPECT_EQ(ticks.size(), 2u);
}

TEST(HeadlessHostTest, LettingEventsRunMovesTimeByAtMostOneQuantum) {
    HeadlessHost host(100);
    host.SetQuantum(0.010);
    host.DoEvents();
    EXPECT_NEAR(host.Now(), 100.010, 1e-12);
    // A timer due sooner is reached exactly and fires.
    int ticks = 0;
    auto t = host.CreateTimer(4, [&] { ++ticks; });
    t->SetEnabled(true);
    host.DoEvents();
    EXPECT_NEAR(host.Now(), 100.014, 1e-12);
    EXPECT_EQ(ticks, 1);
    // A program's five-second wait takes five seconds of virtual time.
    t->SetEnabled(false);
    const double start = host.TimeOfDay();
    int rounds = 0;
    while (host.TimeOfDay() - start < 5.0) {
        host.DoEvents();
        ++rounds;
    }
    EXPECT_NEAR(host.TimeOfDay() - start, 5.0, 0.0100001);
    EXPECT_GE(rounds, 499);
}

TEST(HeadlessHostTest, TimerTickThatLetsEventsRunCanBeEnteredAgain) {
    // As on a desktop: a handler that lets events run sees other ticks, even
    // its own timer's when it has fallen behind; the program guards itself.
    HeadlessHost host(0);
    host.SetQuantum(0.1);
    int depth = 0, deepest = 0, ticks = 0;
    auto t = host.CreateTimer(50, [&] {
        ++ticks;
        ++depth;
        deepest = std::max(deepest, depth);
        if (depth == 1)
            host.DoEvents();
        --depth;
    });
    t->SetEnabled(true);
    host.RunUntil(0.06);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(deepest, 2);
}

TEST(HeadlessHostTest, ScriptedActionsRunAtTheirTimeAlsoInsideAWait) {
    HeadlessHost host(0);
    std::vector<std::string> done;
    host.At(2.0, "second", [&] { done.push_back("second@" + std::to_string(host.Now())); });
    host.At(1.0, "first", [&] { done.push_back("first"); });
    host.RunUntil(1.5);
    EXPECT_EQ(done, (std::vector<std::string>{"first"}));
    while (host.Now() < 2.5)
        host.DoEvents();  // a wait of the program
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[1], "second@" + std::to_string(2.0));
    EXPECT_EQ(host.PendingActions(), 0u);
}

TEST(HeadlessHostTest, NothingFiresAfterTheEndButWaitsStillComeToAnEnd) {
    HeadlessHost host(0);
    int ticks = 0;
    auto t = host.CreateTimer(100, [&] { ++ticks; });
    t->SetEnabled(true);
    host.At(0.25, "end", [&] { host.EndProgram(3); });
    EXPECT_TRUE(host.RunUntilEnded(10));
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(host.ExitStatus(), 3);
    EXPECT_DOUBLE_EQ(host.EndTime(), 0.25);
    const double start = host.Now();
    while (host.Now() - start < 1.0)
        host.DoEvents();
    EXPECT_EQ(ticks, 2);
    host.EndProgram(0);  // a second end changes nothing
    EXPECT_EQ(host.ExitStatus(), 3);
}

TEST(HeadlessHostTest, TimeOfDayWrapsAtMidnight) {
    HeadlessHost host(86399.5);
    host.RunFor(1.0);
    EXPECT_NEAR(host.TimeOfDay(), 0.5, 1e-9);
    EXPECT_NEAR(host.Now(), 86400.5, 1e-9);
}

TEST(HeadlessHostTest, MessageBoxesAreAnsweredByScriptOrSafelyAndRecorded) {
    HeadlessHost host;
    using B = host::MessageBoxButtons;
    using R = host::MessageBoxResult;
    host.AnswerNextMessageBox(R::Retry);
    EXPECT_EQ(host.ShowMessageBox("t", "a", host::MessageBoxIcon::None, B::RetryCancel), R::Retry);
    EXPECT_EQ(host.ShowMessageBox("t", "b", host::MessageBoxIcon::None, B::RetryCancel), R::Cancel);
    EXPECT_EQ(host.ShowMessageBox("t", "c", host::MessageBoxIcon::None, B::YesNo), R::No);
    EXPECT_EQ(host.ShowMessageBox("t", "d", host::MessageBoxIcon::None, B::Ok), R::Ok);
    ASSERT_EQ(host.MessageBoxes().size(), 4u);
    EXPECT_EQ(host.MessageBoxes()[0].title, "a");
    EXPECT_EQ(host.MessageBoxes()[1].answer, R::Cancel);
}

TEST(HeadlessHostTest, SimulatedWindowsFilesAndPrograms) {
    HeadlessHost host;
    const auto w = host.AddWindow("Sim", "SIMCLASS", {10, 20, 110, 220});
    EXPECT_EQ(host.FindWindowByTitle("Sim"), w);
    EXPECT_EQ(host.FindWindowByClass("SIMCLASS"), w);
    host::Rect r;
    ASSERT_TRUE(host.GetWindowRect(w, &r));
    EXPECT_EQ(r, (host::Rect{10, 20, 110, 220}));
    EXPECT_TRUE(host.RequestClose(w));  // without a behaviour it closes at once
    EXPECT_EQ(host.FindWindowByTitle("Sim"), 0u);
    EXPECT_FALSE(host.GetWindowRect(w, &r));

    host.AddFile("/a/b/file");
    EXPECT_TRUE(host.FileExists("/a/b/file"));
    EXPECT_FALSE(host.CopyFile("/a/b/none", "/a/copy"));    // no source
    EXPECT_FALSE(host.CopyFile("/a/b/file", "/x/y/copy"));  // no such folder
    EXPECT_TRUE(host.CopyFile("/a/b/file", "/a/copy"));
    EXPECT_TRUE(host.FileExists("/a/copy"));
    ASSERT_EQ(host.Copies().size(), 1u);

    EXPECT_FALSE(host.StartProgram("/bin/x", {}));  // no starter: nothing starts
    host.SetProgramStarter(
        [](const std::string& path, const std::vector<std::string>&) { return path == "/bin/y"; });
    EXPECT_TRUE(host.StartProgram("/bin/y", {"--z"}));
    ASSERT_EQ(host.StartedPrograms().size(), 2u);
    EXPECT_EQ(host.StartedPrograms()[1].arguments, (std::vector<std::string>{"--z"}));
}

}  // namespace
}  // namespace corvane::headless
