// SPDX-License-Identifier: MIT
//
// The running program on the headless host, for the mouse controls: the
// simulator's inputs are read from the link's variable image after a
// main-cycle tick has sent them.
#pragma once

#include <cstdint>
#include <cstring>

#include "app/forms/Mouse.h"
#include "app/startup/ControlsHandlers.h"
#include "app/startup/MainWindowHandlers.h"
#include "tests/startup/ProgramFixture.h"

namespace corvane::testing {

constexpr std::uint32_t kAileronOffset = 0x0BB6;
constexpr std::uint32_t kElevatorOffset = 0x0BB2;
constexpr std::uint32_t kThrottleOffsets[4] = {0x088C, 0x0924, 0x09BC, 0x0A54};

class ControlsTest : public ProgramTest {
  protected:
    void SetUp() override {
        SimulatorRuns();
        Load();
        ASSERT_TRUE(Running());
        host.RunFor(1.0);
    }
    // The next main-cycle tick (one exchange) has run.
    void NextTick() {
        const int before = link.exchanges;
        while (link.exchanges == before && !host.Ended())
            host.RunFor(0.01);
    }
    template <typename T>
    T Simulator(std::uint32_t offset) const {
        T value;
        std::memcpy(&value, link.image.data() + offset, sizeof value);
        return value;
    }
    forms::Form1Model& form() { return p.forms.Form1; }
    forms::MainMenu& menu() { return p.forms.Form1.menu; }
    forms::Image& knob() { return p.forms.Form1.Image1; }
};

}  // namespace corvane::testing
