// SPDX-License-Identifier: MIT
//
// What the map's tests need around the map: a canvas that records the calls
// made on it, a host with a settable clock, cursor and simulator window, a
// link that does nothing, and a program built from them.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/map/MapFrame.h"
#include "app/map/MapPictures.h"
#include "app/startup/MapHandlers.h"
#include "app/startup/Program.h"
#include "platform/canvas/CanvasSettings.h"
#include "ports/Host.h"
#include "tests/support/HostStub.h"
#include "tests/support/LinkStub.h"

namespace corvane::maptest {

// One recorded canvas call: its name and its arguments.
struct CanvasCall {
    std::string op;
    std::vector<double> args;
    forms::Rgb colour{};  // FillRect's colour; the fore colour of Line, Circle and LineTo
    std::string text;     // Print's text
    bool operator==(const CanvasCall&) const = default;
};

class RecordingCanvas : public canvas::CanvasSettings {
  public:
    // The back colour starts black here, as the map's tests expect.
    RecordingCanvas(int width = 167, int height = 167) : CanvasSettings(width, height) {
        backColor_ = {};
    }

    std::vector<CanvasCall> calls;

    // The calls of the given operations only, in order.
    std::vector<CanvasCall> Only(std::initializer_list<std::string_view> ops) const {
        std::vector<CanvasCall> out;
        for (const CanvasCall& c : calls) {
            for (std::string_view op : ops) {
                if (c.op == op)
                    out.push_back(c);
            }
        }
        return out;
    }

    void Cls() override { Record("Cls", {}); }
    void Line(double x1, double y1, double x2, double y2) override {
        Record("Line", {x1, y1, x2, y2}, foreColor_);
    }
    void Box(double x1, double y1, double x2, double y2) override {
        Record("Box", {x1, y1, x2, y2}, foreColor_);
    }
    void Circle(double x, double y, double r) override { Record("Circle", {x, y, r}, foreColor_); }
    void Print(std::string_view text) override {
        CanvasCall c{"Print", {currentX_, currentY_}, foreColor_, std::string(text)};
        calls.push_back(c);
        currentX_ += TextWidth(text);
    }
    void NewLine() override { Record("NewLine", {}); }
    // Every character is 90 units wide and the text 195 high.
    double TextWidth(std::string_view text) const override { return 90.0 * text.size(); }
    double TextHeight(std::string_view) const override { return 195; }
    void MoveTo(int x, int y) override { Record("MoveTo", {double(x), double(y)}); }
    void LineTo(int x, int y) override { Record("LineTo", {double(x), double(y)}, foreColor_); }
    void FillRect(int l, int t, int r, int b, forms::Rgb c) override {
        Record("FillRect", {double(l), double(t), double(r), double(b)}, c);
    }
    void FloodFill(int x, int y, forms::Rgb) override {
        Record("FloodFill", {double(x), double(y)});
    }
    void CopyFrom(const forms::Canvas& source, int w, int h) override {
        CanvasCall c{"CopyFrom", {double(w), double(h)}, {}, {}};
        const auto* other = dynamic_cast<const RecordingCanvas*>(&source);
        c.text = other ? other->name : "?";
        calls.push_back(c);
    }
    forms::Rgb PixelAt(int, int) const override { return {}; }

    std::string name;  // names this canvas in the CopyFrom calls of others

  private:
    void Record(std::string op, std::vector<double> args, forms::Rgb colour = {}) {
        calls.push_back(CanvasCall{std::move(op), std::move(args), colour, {}});
    }
};

using FakeTimer = testing::StubTimer;

// A host whose clock, cursor and windows the test sets. DoEvents runs the
// hook given, if any, and counts the calls.
class FakeHost : public testing::HostStub {
  public:
    double timeOfDay = 36000;
    double timeStepPerCall = 0;  // the clock moves on by this much at each reading
    int doEventsCalls = 0;
    std::function<void()> onDoEvents;
    host::WindowId simulatorWindow = 77;
    host::Rect simulatorRect{0, 0, 1024, 768};
    bool simulatorPresent = true;
    host::Point cursor{-1000, -1000};
    std::vector<host::WindowId> updatedWindows;

    double TimeOfDay() override {
        const double t = timeOfDay;
        timeOfDay += timeStepPerCall;
        return t;
    }
    void DoEvents() override {
        ++doEventsCalls;
        if (onDoEvents)
            onDoEvents();
    }
    host::WindowId FindWindowByTitle(std::string_view title) override {
        return simulatorPresent && title == "Microsoft Flight Simulator 98" ? simulatorWindow : 0;
    }
    bool GetWindowRect(host::WindowId window, host::Rect* rect) override {
        if (!simulatorPresent || window != simulatorWindow)
            return false;
        *rect = simulatorRect;
        return true;
    }
    void UpdateWindow(host::WindowId window) override { updatedWindows.push_back(window); }
    host::Point CursorPosition() override { return cursor; }
};

// A link that answers nothing (every call fails).
class NullLink : public testing::ConstantLink {
  public:
    NullLink() : ConstantLink(0) {}
};

// Sets the flight-state words of a position and heading in degrees so that
// the map reads exactly that position: the high word is the nearest whole
// unit and the low word the rest in 2^-32 units, as a signed number, taken
// off a negative high word (the map's FractionRule::SignOfHighWord).
inline void SplitPosition(double value, std::int32_t& hi, std::uint32_t& lo) {
    const double whole = std::nearbyint(value);
    hi = static_cast<std::int32_t>(whole);
    const double rest = hi >= 0 ? value - whole : whole - value;
    long long scaled = std::llround(rest * 4294967296.0);
    scaled = std::clamp<long long>(scaled, -2147483648LL, 2147483647LL);
    lo = static_cast<std::uint32_t>(static_cast<std::int32_t>(scaled));
}

inline void SetPosition(flightstate::FlightState& s, double latDeg, double lonDeg,
                        double headingDeg) {
    SplitPosition(latDeg * 5000875.0 / 45.0, s.latitudehi, s.latitudelo);
    SplitPosition(lonDeg * 1073741824.0 / 90.0, s.longitudehi, s.longitudelo);
    const long long word = std::llround(headingDeg / 360.0 * 4294967296.0);
    s.heading = static_cast<std::int32_t>(word >= 2147483648LL ? word - 4294967296LL : word);
}

// The map cycle as the tests run it: the tests write the record's wire
// values, so the readings are decoded first, as the exchange would have.
inline void RunMapCycle(Program& p, bool placeWindows) {
    p.flightState.readings = flightstate::DecodeReadings(p.flightState);
    startup::RunMapCycle(p, placeWindows);
}
inline void MapCycle(Program& p) {
    RunMapCycle(p, true);
}
// The picked dot and Picture1's place on the screen, on the program's screen.
inline int NearestDot(Program& p, float xTwips, float yTwips) {
    return map::NearestDot(p.map, p.forms.Form1.Picyellow, p.host.TwipsPerPixelX(),
                           p.host.TwipsPerPixelY(), xTwips, yTwips);
}
inline host::Rect Picture1ScreenRect(Program& p) {
    return map::Picture1ScreenRect(p.forms.Form1, p.host.TwipsPerPixelX(), p.host.TwipsPerPixelY());
}

}  // namespace corvane::maptest
