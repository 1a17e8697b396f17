// SPDX-License-Identifier: MIT
//
// The knob and the throttle bar on screen (Qt's offscreen platform): the pilot
// drags the knob with the mouse and moves the bar, and the stand-in simulator
// receives the aileron, elevator and throttle inputs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>

#include "app/startup/ControlsHandlers.h"
#include "app/startup/Program.h"
#include "app/ui/ProgramWindows.h"
#include "platform/qt/QtHost.h"
#include "sim/model/Simulator.h"
#include "tests/controls/VariableSpaceLink.h"

namespace corvane::testing {
namespace {

TEST(KnobOnScreen, DraggingTheKnobAndMovingTheBarReachTheStandIn) {
    sim::Simulator simulator;
    sim::AirStart air;
    air.latitudeDeg = 40;
    air.longitudeDeg = -100;
    simulator.StartInAir(air);
    sim::VariableSpace& space = simulator.Variables();

    qtui::QtHost host;
    VariableSpaceLink link(space);
    ASSERT_EQ(host.TwipsPerPixelX(), 15);
    ASSERT_EQ(host.TwipsPerPixelY(), 15);
    Program p(host, link);
    p.flightState.simulatorkind = flightstate::kFs98;
    startup::CentreJoystick(p);
    p.forms.Form1.visible = true;
    ui::ProgramWindows windows(p, host);
    windows.Sync();
    // The main cycle's share of a tick, then 150 ms of the stand-in's time.
    auto tick = [&] {
        startup::JoystickWrite(p);
        flightstate::ExchangeFlightState(p.flightState, p.link);
        startup::ThrottleDisplay(p);
        simulator.Advance(0.15);
        windows.Sync();
    };
    tick();
    constexpr std::uint32_t kAileron = 0x0BB6;
    constexpr std::uint32_t kElevator = 0x0BB2;
    ASSERT_EQ(space.I16(kAileron), 0);
    ASSERT_EQ(space.I16(kElevator), 0);

    QWidget* knob = windows.Form1Window().findChild<QWidget*>(QStringLiteral("Image1"));
    ASSERT_NE(knob, nullptr);
    ASSERT_TRUE(knob->isVisible());
    const QPoint grip = knob->rect().center();
    const QPoint before = knob->pos();
    // Right and up by 40 pixels each (600 twips of the 2500-twip map).
    QTest::mousePress(knob, Qt::LeftButton, {}, grip);
    QTest::mouseMove(knob, grip + QPoint(40, -40));
    EXPECT_EQ(knob->pos(), before + QPoint(40, -40));
    tick();
    // a = e = 1200 / 2500: 1000 x 0.48^1.5 x 20 = 6651 each.
    EXPECT_EQ(space.I16(kAileron), 6651);
    EXPECT_EQ(space.I16(kElevator), 6651);
    EXPECT_GT(simulator.State().aileronApplied, 0.35);
    EXPECT_GT(simulator.State().elevatorApplied, 0.35);

    // Released: the inputs stay, and the knob sends nothing more.
    QTest::mouseRelease(knob, Qt::LeftButton, {}, grip);
    space.SetI16(kAileron, 0);
    tick();
    EXPECT_EQ(space.I16(kAileron), 0);
    EXPECT_EQ(p.forms.Form1.Image1.left, 1100 + 600);

    // The bar a quarter of the way down: three quarters of full throttle.
    QScrollBar* bar = windows.Form1Window().findChild<QScrollBar*>(QStringLiteral("VScroll1"));
    ASSERT_NE(bar, nullptr);
    bar->setValue(4096);
    tick();
    tick();
    EXPECT_EQ(space.I16(0x088C), 16383 - 4096);
    EXPECT_EQ(space.I16(0x0A54), 16383 - 4096);
    EXPECT_EQ(bar->value(), 4096);
}

}  // namespace
}  // namespace corvane::testing

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
