// SPDX-License-Identifier: MIT
// FlightGear's readings lines from any bytes, as they reach the stand-in over
// its readings socket, through the protocol reader and the FlightGear
// backend. Properties: a line read is written back to one that reads the
// same way; whatever FlightGear sends, every controls line the backend sends
// back reads again and holds each control within its range.
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "sim/flightgear/Channel.h"
#include "sim/flightgear/FlightGearSimulator.h"
#include "sim/flightgear/Protocol.h"
#include "tests/fuzz/FuzzCommon.h"

namespace {

namespace fg = corvane::sim::flightgear;
using corvane::fuzz::Require;

// The input's lines, a few for each step of the backend.
class FuzzChannel final : public fg::Channel {
  public:
    void Receive(std::vector<std::string>& lines) override {
        lines.insert(lines.end(), pending.begin(), pending.end());
        pending.clear();
    }
    bool Send(std::string_view line) override {
        const std::optional<fg::Commands> c = fg::ParseCommands(line);
        Require(c.has_value(), "the backend's controls line reads again");
        const auto within = [](double v, double low, double high) {
            return std::isfinite(v) && v >= low && v <= high;
        };
        Require(within(c->throttle, 0.0, 1.0) && within(c->mixture, 0.0, 1.0) &&
                    within(c->flaps, 0.0, 1.0) && within(c->leftBrake, 0.0, 1.0) &&
                    within(c->rightBrake, 0.0, 1.0) && within(c->parkingBrake, 0.0, 1.0),
                "levers, flaps and brakes within 0..1");
        Require(within(c->elevator, -1.0, 1.0) && within(c->aileron, -1.0, 1.0) &&
                    within(c->rudder, -1.0, 1.0) && within(c->elevatorTrim, -1.0, 1.0),
                "the control surfaces within -1..1");
        Require(std::isfinite(c->towerLatitudeDeg) && std::isfinite(c->towerLongitudeDeg) &&
                    std::isfinite(c->towerAltitudeFt) && std::isfinite(c->speedUp),
                "the tower viewpoint and the speed-up are numbers");
        return true;
    }
    std::string ProcessFailure() override { return {}; }

    std::vector<std::string> pending;
};

void CheckRoundTrip(std::string_view line) {
    const std::optional<fg::Readings> r = fg::ParseReadings(line);
    if (!r)
        return;
    const std::string again = fg::FormatReadings(*r);
    const std::optional<fg::Readings> back = fg::ParseReadings(again);
    Require(back.has_value(), "a readings line read is written back readable");
    const std::string third = fg::FormatReadings(*back);
    if (third != again)
        std::fprintf(stderr, "written back:  %swritten again: %s", again.c_str(), third.c_str());
    Require(third == again, "a line written back reads the same way");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    FuzzChannel channel;
    fg::BackendOptions options;
    options.crashDetection = true;
    fg::FlightGearSimulator backend(channel, options);
    std::size_t at = 0;
    int inStep = 0;
    while (at < input.size()) {
        std::size_t end = input.find('\n', at);
        if (end == std::string_view::npos)
            end = input.size();
        const std::string_view line = input.substr(at, end - at + (end < input.size() ? 1 : 0));
        at = end + 1;
        CheckRoundTrip(line);
        channel.pending.emplace_back(line);
        // Three lines a step: FlightGear sends faster than the stand-in
        // steps when the stand-in is busy.
        if (++inStep == 3) {
            backend.Advance(1.0 / 30.0);
            inStep = 0;
        }
    }
    backend.Advance(1.0 / 30.0);
    return 0;
}
