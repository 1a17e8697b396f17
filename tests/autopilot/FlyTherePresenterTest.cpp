// SPDX-License-Identifier: MIT
//
// What Form4 shows of a flight: the status row the presenter writes from the
// steps' reports, the stage text in Label6 exactly as reported (what the
// harness and the pilot read), and the end of the display.
#include <gtest/gtest.h>

#include "app/presenters/FlyTherePresenter.h"

namespace corvane::presenters {
namespace {

struct Screen {
    forms::Forms forms;
    FlyThereStatus status;
    forms::Form4Model& form4() { return forms.Form4; }
    forms::MainMenu& menu() { return forms.Form1.menu; }
};

TEST(FlyTherePresenter, TheStartShowsTheStatusRowUnderTheReadouts) {
    Screen s;
    s.form4().width = 6000;
    ShowFlightStart(s.form4(), s.menu(), s.status, "LONDON GATWICK 08R", "To turning point");
    const forms::Form4Model& f = s.form4();
    EXPECT_TRUE(f.visible);
    EXPECT_TRUE(s.menu().mnuFlythereOff.visible);
    EXPECT_TRUE(s.menu().mnuFlyHeight.visible);
    EXPECT_EQ(f.Label5.caption, "LONDON GATWICK 08R");
    EXPECT_EQ(f.Label6.caption, "To turning point");
    EXPECT_EQ(s.status.stage, "To turning point");
    EXPECT_EQ(f.height, f.Label1.height + f.Label4.height);
    // Destination, stage and distance side by side across the whole width.
    EXPECT_EQ(f.Label5.top, f.Label1.top + f.Label1.height);
    EXPECT_EQ(f.Label5.left, 0);
    EXPECT_EQ(f.Label6.left, f.Label5.left + f.Label5.width);
    EXPECT_EQ(f.Label7.left, f.Label6.left + f.Label6.width);
    EXPECT_EQ(f.Label7.left + f.Label7.width, 6000);
}

TEST(FlyTherePresenter, AReportChangesOnlyWhatItCarries) {
    Screen s;
    ShowFlightStart(s.form4(), s.menu(), s.status, "KDEN 35L", "To turning point");

    autopilot::FlyThereReport distanceOnly;
    distanceOnly.distance = "12.3 miles";
    ShowFlyThereReport(s.form4(), s.menu(), true, s.status, distanceOnly);
    EXPECT_EQ(s.form4().Label6.caption, "To turning point");
    EXPECT_EQ(s.form4().Label7.caption, "12.3 miles");

    autopilot::FlyThereReport stage;
    stage.stage = "Final descent";
    ShowFlyThereReport(s.form4(), s.menu(), true, s.status, stage);
    EXPECT_EQ(s.form4().Label6.caption, "Final descent");
    EXPECT_EQ(s.status.stage, s.form4().Label6.caption);
    EXPECT_EQ(s.form4().Label7.caption, "12.3 miles");
    EXPECT_TRUE(s.menu().mnuFlythereOff.visible);
}

TEST(FlyTherePresenter, TheEndOfTheDisplayShrinksOrHidesForm4AsTheReadoutsAre) {
    for (const bool readoutsShown : {true, false}) {
        SCOPED_TRACE(readoutsShown ? "readouts shown" : "readouts hidden");
        Screen s;
        ShowFlightStart(s.form4(), s.menu(), s.status, "KSEA 16L", "To turning point");
        autopilot::FlyThereReport end;
        end.stage = "Landed";
        end.displayEnded = true;
        ShowFlyThereReport(s.form4(), s.menu(), readoutsShown, s.status, end);
        EXPECT_FALSE(s.menu().mnuFlythereOff.visible);
        EXPECT_FALSE(s.menu().mnuFlyHeight.visible);
        EXPECT_EQ(s.form4().Label6.caption, "Landed");
        EXPECT_EQ(s.form4().visible, readoutsShown);
        if (readoutsShown) {
            EXPECT_EQ(s.form4().height, s.form4().Label1.height);
        }
    }
}

}  // namespace
}  // namespace corvane::presenters
