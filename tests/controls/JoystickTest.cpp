// SPDX-License-Identifier: MIT
//
// The mouse joystick in the running program: what a drag sends to the
// simulator, what reaches the map, and the joystick's menu commands.
#include <gtest/gtest.h>

#include <string>

#include "tests/controls/ControlsFixture.h"

namespace corvane::testing {
namespace {

using forms::kLeftButton;
using forms::kRightButton;
using startup::Image1_MouseDown;
using startup::Image1_MouseMove;
using startup::Image1_MouseUp;

class JoystickTest : public ControlsTest {
  protected:
    // A 3000-twip map with the 300-twip knob centred on it.
    void BigMap() {
        form().Picture1.width = 3000;
        form().Picture1.height = 3000;
        startup::CentreJoystick(p);
    }
    // Grabs the knob in its middle and drags it by (dx, dy) twips.
    void Drag(float dx, float dy) {
        Image1_MouseDown(p, kLeftButton, 0, 150, 150);
        Image1_MouseMove(p, kLeftButton, 0, 150 + dx, 150 + dy);
    }
};

TEST_F(JoystickTest, DragSendsShapedInputsWhileHeld) {
    struct Case {
        const char* what;
        float dx, dy;
        const char* reverse;  // menu command run first, or null
        double left, top;     // where the knob ends up
        std::int32_t aileron, elevator;
    };
    const Case cases[] = {
        {"centre", 0, 0, nullptr, 1350, 1350, 0, 0},
        {"top edge", 0, -9000, nullptr, 1350, 0, 0, 17076},
        {"top edge reversed", 0, -9000, "mnuRevVert", 1350, 0, 0, -17076},
        {"bottom right corner", 9000, 9000, nullptr, 2700, 2700, 17076, -17076},
        {"left edge reversed", -9000, 0, "mnuRevHoriz", 0, 1350, 17076, 0},
        {"quarter right, half up", 375, -750, nullptr, 1725, 600, 2500, 7071},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        p.joystick = {};
        BigMap();
        if (c.reverse != nullptr) {
            ASSERT_TRUE(startup::MenuClick(p, c.reverse));
        }
        // Values the joystick does not send, so that a written 0 shows.
        link.Put<std::int32_t>(kAileronOffset, 999);
        link.Put<std::int32_t>(kElevatorOffset, 999);
        Drag(c.dx, c.dy);
        EXPECT_EQ(knob().mousePointer, forms::kMovePointer);
        EXPECT_DOUBLE_EQ(knob().left, c.left);
        EXPECT_DOUBLE_EQ(knob().top, c.top);
        NextTick();
        EXPECT_EQ(Simulator<std::int32_t>(kAileronOffset), c.aileron);
        EXPECT_EQ(Simulator<std::int32_t>(kElevatorOffset), c.elevator);
        Image1_MouseUp(p, kLeftButton, 0, 150, 150);
    }
}

TEST_F(JoystickTest, EachMoveIsMeasuredFromWhereTheKnobNowLies) {
    BigMap();
    Image1_MouseDown(p, kLeftButton, 0, 100, 200);
    Image1_MouseMove(p, kLeftButton, 0, 160, 180);  // 60 right, 20 up
    Image1_MouseMove(p, kLeftButton, 0, 100, 200);  // the mouse stays with the knob
    EXPECT_DOUBLE_EQ(knob().left, 1410);
    EXPECT_DOUBLE_EQ(knob().top, 1330);
}

TEST_F(JoystickTest, ReleaseKeepsTheLastInputsAndSendsNothingUntilHeldAgain) {
    BigMap();
    Drag(0, -9000);
    NextTick();
    Image1_MouseUp(p, kLeftButton, 0, 150, 150);
    EXPECT_EQ(knob().mousePointer, forms::kArrowPointer);
    link.Put<std::int32_t>(kElevatorOffset, 555);  // the simulator's own controls
    NextTick();
    NextTick();
    EXPECT_EQ(Simulator<std::int32_t>(kElevatorOffset), 555);
    EXPECT_DOUBLE_EQ(knob().top, 0);
    // Holding the knob again sends where it lies, moved or not.
    Image1_MouseDown(p, kLeftButton, 0, 150, 150);
    NextTick();
    EXPECT_EQ(Simulator<std::int32_t>(kElevatorOffset), 17076);
}

TEST_F(JoystickTest, ClickWithoutMovementReachesTheMapAsPressAndRelease) {
    const double formLeft = form().left;
    p.mainWindow.DragStartX = p.mainWindow.DragStartY = -1;
    // Knob at 1100, 1100 on the 2500-twip map: the click is at 1200, 1220 there.
    Image1_MouseDown(p, kLeftButton, 0, 100, 120);
    EXPECT_EQ(p.mainWindow.DragStartX, -1);  // nothing reaches the map on the press
    Image1_MouseUp(p, kLeftButton, 0, 100, 120);
    EXPECT_EQ(p.mainWindow.DragStartX, 1200);
    EXPECT_EQ(p.mainWindow.DragStartY, 1220);
    EXPECT_FALSE(p.mainWindow.WindowDragging);  // released again
    EXPECT_EQ(form().left, formLeft);           // at the same point
    EXPECT_FALSE(p.joystick.JoystickDragging);

    // A drag is the joystick's alone.
    p.mainWindow.DragStartX = -1;
    Drag(10, 0);
    Image1_MouseUp(p, kLeftButton, 0, 150, 150);
    EXPECT_EQ(p.mainWindow.DragStartX, -1);
    EXPECT_FALSE(p.mainWindow.WindowDragging);
}

TEST_F(JoystickTest, MovesOverTheKnobReachTheMapWhileItIsNotHeld) {
    Image1_MouseMove(p, 0, 0, 40, 260);
    EXPECT_EQ(p.mainWindow.MapMouseX, 1140);
    EXPECT_EQ(p.mainWindow.MapMouseY, 1360);
    EXPECT_DOUBLE_EQ(knob().left, 1100);
}

TEST_F(JoystickTest, RightPressOpensTheMapMenuOnceAndKeepsThePauseState) {
    Image1_MouseDown(p, kRightButton, 0, 10, 10);
    EXPECT_TRUE(menu().popupRequested);
    EXPECT_EQ(link.Paused(), 1);
    EXPECT_FALSE(p.joystick.JoystickDragging);
    EXPECT_EQ(knob().mousePointer, forms::kArrowPointer);
    // The menu closes unchosen; the right button's release is no second click.
    menu().popupRequested = false;
    Image1_MouseUp(p, kRightButton, 0, 10, 10);
    EXPECT_FALSE(menu().popupRequested);
    NextTick();
    EXPECT_EQ(link.Paused(), 0);
}

TEST_F(JoystickTest, MenuCommands) {
    forms::MainMenu& m = menu();
    // Each command ends the menu action itself.
    auto run = [&](void (*command)(Program&)) {
        p.mainWindow.MenuActionEnded = false;
        command(p);
        EXPECT_TRUE(p.mainWindow.MenuActionEnded);
    };
    run(startup::mnujoyshow_Click);
    EXPECT_EQ(m.mnujoyshow.caption, "Show joystick");
    EXPECT_FALSE(knob().visible);
    run(startup::mnujoyshow_Click);
    EXPECT_EQ(m.mnujoyshow.caption, "Hide joystick");
    EXPECT_TRUE(knob().visible);
    run(startup::mnuRevVert_Click);
    EXPECT_TRUE(m.mnuRevVert.checked);
    EXPECT_TRUE(p.joystick.ReverseVertical);
    run(startup::mnuRevVert_Click);
    EXPECT_FALSE(m.mnuRevVert.checked);
    run(startup::mnuRevHoriz_Click);
    EXPECT_TRUE(p.joystick.ReverseHorizontal);
    EXPECT_FALSE(m.mnuRevHoriz.visible);

    // Shrunk to the spot the knob stays hidden whatever is chosen; restore
    // shows it when the joystick is on.
    ASSERT_TRUE(startup::MenuClick(p, "mnuminimize"));
    run(startup::mnujoyshow_Click);
    run(startup::mnujoyshow_Click);
    EXPECT_EQ(m.mnujoyshow.caption, "Hide joystick");
    EXPECT_FALSE(knob().visible);
    ASSERT_TRUE(startup::MenuClick(p, "mnuminimize"));
    EXPECT_TRUE(knob().visible);
}

}  // namespace
}  // namespace corvane::testing
