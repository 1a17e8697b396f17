// SPDX-License-Identifier: MIT
//
// corvane-linkdemo: checks the link to the simulator. Finds the simulator's
// window, opens the link and prints the aircraft's position, heading, altitude
// and speeds as one exchange reads them (decoded as the program decodes them).
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/flightstate/FlightState.h"
#include "platform/posix/CVcomsLibrary.h"
#include "platform/posix/ProgramFolder.h"

namespace {

void PrintHelp() {
    std::printf(
        "Usage: corvane-linkdemo [--count N] [--interval MS]\n"
        "Finds the flight simulator's window, opens the link and prints the aircraft's\n"
        "position, heading, altitude and speeds read through one exchange.\n\n"
        "  --count N       print N readings (default 1)\n"
        "  --interval MS   milliseconds between readings (default 1000)\n"
        "  --help          show this text\n");
}

}  // namespace

int main(int argc, char** argv) {
    int count = 1;
    int intervalMs = 1000;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintHelp();
            return 0;
        } else if ((arg == "--count" || arg == "--interval") && i + 1 < argc) {
            char* end = nullptr;
            long v = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || v < (arg == "--count" ? 1 : 0) || v > 1000000) {
                std::fprintf(stderr, "corvane-linkdemo: %s needs a whole number\n", arg.c_str());
                return 2;
            }
            (arg == "--count" ? count : intervalMs) = static_cast<int>(v);
        } else {
            std::fprintf(stderr, "corvane-linkdemo: unknown option %s (see --help)\n", arg.c_str());
            return 2;
        }
    }

    corvane::desktop::CVcomsLibrary link(corvane::desktop::ProgramFolder());
    try {
        link.Load();
    } catch (const corvane::desktop::LinkLibraryError& e) {
        std::fprintf(stderr, "corvane-linkdemo: %s\n", e.what());
        return 1;
    }
    corvane::flightstate::FlightState state;
    state.simulatorkind = static_cast<std::int16_t>(link.fsworking());
    if (state.simulatorkind != corvane::flightstate::kFs98) {
        std::fprintf(stderr,
                     "corvane-linkdemo: no simulator window (class FS98MAIN) was found.\n"
                     "Start the simulator first, e.g. fltsim98.exe --headless.\n");
        return 1;
    }
    link.startit();
    for (int n = 0; n < count; ++n) {
        if (n > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
        corvane::flightstate::ExchangeFlightState(state, link);
        // What the program reads: the readings as the exchange decodes them.
        const corvane::flightstate::Readings& r = state.readings;
        std::printf(
            "latitude %.6f  longitude %.6f  altitude %d m (%.0f ft)  heading %.1f true\n"
            "true airspeed %.1f kt  indicated %.1f kt  vertical speed %d ft/min  on ground %d\n",
            r.latitudeDeg, r.longitudeDeg, r.altitudeM, r.altitudeM * 3.2808, r.headingTrueDeg,
            r.trueAirspeedKnots, r.indicatedAirspeedKnots, r.verticalSpeedFpm, r.onGround);
        std::fflush(stdout);
        if (state.latitudehi == 0 && state.longitudehi == 0 && state.altitude == 0) {
            std::fprintf(stderr, "corvane-linkdemo: the simulator did not answer the link.\n");
            return 1;
        }
    }
    link.stopit();
    return 0;
}
