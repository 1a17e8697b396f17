// SPDX-License-Identifier: MIT
//
// The simulator's window: a simple view of the aircraft drawn from the
// simulator's state after each step. Attitude (a horizon with pitch ladder
// and bank), a heading strip with the autopilot's heading bug, altitude,
// height above ground, airspeeds, vertical speed, stall margin, the autopilot
// switches and targets, gear, flaps, spoilers, brakes and throttles, and,
// once the program has set the tower viewpoint, a tower view panel: a plan
// with the aircraft and the tower and what the tower sees of it.
//
// The window only renders: it reads the simulator and never changes it.
#pragma once

#include <QWidget>
#include <functional>

#include "sim/model/SimulatorBackend.h"

namespace corvane::sim {

class FlightWindow : public QWidget {
  public:
    explicit FlightWindow(const SimulatorBackend& simulator, QWidget* parent = nullptr);

    // Asked when the user closes the window; true lets it close.
    void SetCloseBoxHandler(std::function<bool()> handler) { closeBox_ = std::move(handler); }

    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    const SimulatorBackend& simulator_;
    std::function<bool()> closeBox_;
};

}  // namespace corvane::sim
