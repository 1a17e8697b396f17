// SPDX-License-Identifier: MIT
//
// fltsim98.exe: the stand-in simulator. It publishes the simulator's main
// window ("Microsoft Flight Simulator 98", class "FS98MAIN") on the desktop,
// loads its IPC module from modules/FS6IPC.dll and serves the link from its
// variable space until it is asked to close.
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/Desktop.h"
#include "platform/posix/ProgramFolder.h"
#include "sim/fltsim98/ModuleLoader.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void OnSignal(int) { stopRequested = 1; }

struct Options {
    bool headless = false;
    double latitudeDeg = 51.4775;
    double longitudeDeg = -0.4614;
    double altitudeFt = 3000.0;
    double headingTrueDeg = 90.0;
    double speedKt = 200.0;
};

void PrintHelp() {
    std::printf(
        "Usage: fltsim98.exe [options]\n"
        "The stand-in flight simulator: publishes the window \"Microsoft Flight Simulator 98\"\n"
        "(class FS98MAIN) and serves the FS6IPC link through modules/FS6IPC.dll.\n\n"
        "  --headless        run without a window on the screen\n"
        "  --lat DEG         start latitude, degrees north (default 51.4775)\n"
        "  --lon DEG         start longitude, degrees east (default -0.4614)\n"
        "  --alt FT          start altitude above sea level, feet (default 3000)\n"
        "  --heading DEG     start true heading, degrees (default 90)\n"
        "  --speed KT        start true airspeed, knots (default 200)\n"
        "  --help            show this text\n\n"
        "The desktop directory is $CORVANE_DESKTOP, else $XDG_RUNTIME_DIR/corvane-desktop.\n");
}

bool ParseNumber(const char* text, double* value) {
    char* end = nullptr;
    *value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(*value);
}

bool ParseOptions(int argc, char** argv, Options* options, int* exitCode) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto number = [&](double* target) {
            if (i + 1 >= argc || !ParseNumber(argv[i + 1], target)) {
                std::fprintf(stderr, "fltsim98.exe: %s needs a number\n", arg.c_str());
                *exitCode = 2;
                return false;
            }
            ++i;
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            PrintHelp();
            *exitCode = 0;
            return false;
        } else if (arg == "--headless") {
            options->headless = true;
        } else if (arg == "--lat") {
            if (!number(&options->latitudeDeg)) break;
        } else if (arg == "--lon") {
            if (!number(&options->longitudeDeg)) break;
        } else if (arg == "--alt") {
            if (!number(&options->altitudeFt)) break;
        } else if (arg == "--heading") {
            if (!number(&options->headingTrueDeg)) break;
        } else if (arg == "--speed") {
            if (!number(&options->speedKt)) break;
        } else {
            std::fprintf(stderr, "fltsim98.exe: unknown option %s (see --help)\n", arg.c_str());
            *exitCode = 2;
            return false;
        }
        continue;
    }
    if (*exitCode != 0) return false;
    if (std::fabs(options->latitudeDeg) > 90 || std::fabs(options->longitudeDeg) > 180) {
        std::fprintf(stderr, "fltsim98.exe: the position must lie within +-90 and +-180 degrees\n");
        *exitCode = 2;
        return false;
    }
    return true;
}

// The simulator's variable space: a byte image at the simulator's offsets.
class VariableImage final : public corvane::ipc::VariableAccess {
public:
    VariableImage() : bytes_(65536, 0) {}

    bool Read(std::uint32_t offset, std::uint32_t size, void* destination) override {
        if (std::uint64_t(offset) + size > bytes_.size()) return false;
        if (size) std::memcpy(destination, bytes_.data() + offset, size);
        return true;
    }
    bool Write(std::uint32_t offset, std::uint32_t size, const void* source) override {
        if (std::uint64_t(offset) + size > bytes_.size()) return false;
        if (size) std::memcpy(bytes_.data() + offset, source, size);
        return true;
    }
    template <typename T>
    void Put(std::uint32_t offset, T value) {
        std::memcpy(bytes_.data() + offset, &value, sizeof value);
    }

private:
    std::vector<std::uint8_t> bytes_;
};

void SetStartState(VariableImage& image, const Options& o) {
    const double twoTo32 = 4294967296.0;
    image.Put<std::int64_t>(0x0560, std::llround(o.latitudeDeg * 5000875.0 / 45.0 * twoTo32));
    image.Put<std::int64_t>(0x0568, std::llround(o.longitudeDeg * 1073741824.0 / 90.0 * twoTo32));
    const double altitudeM = o.altitudeFt / 3.2808;
    const double wholeM = std::floor(altitudeM);
    image.Put<std::uint32_t>(0x0570, std::uint32_t((altitudeM - wholeM) * twoTo32));
    image.Put<std::int32_t>(0x0574, std::int32_t(wholeM));
    double heading = std::fmod(o.headingTrueDeg, 360.0);
    if (heading < 0) heading += 360.0;
    image.Put<std::uint32_t>(0x0580, std::uint32_t(std::llround(heading / 360.0 * twoTo32)));
    image.Put<std::int32_t>(0x02B8, std::int32_t(std::lround(o.speedKt * 128)));
    image.Put<std::int32_t>(0x02BC, std::int32_t(std::lround(o.speedKt * 128)));
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    int exitCode = 0;
    if (!ParseOptions(argc, argv, &options, &exitCode)) return exitCode;

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    VariableImage variables;
    SetStartState(variables, options);

    corvane::sim::ModuleLoader module(corvane::desktop::ProgramFolder());
    if (!module.IsLoaded()) {
        std::fprintf(stderr, "fltsim98.exe: %s; the link will not be served\n",
                     module.Error().c_str());
    }

    bool closeRequested = false;
    corvane::desktop::PublishedWindow window(
        "FS98MAIN", "Microsoft Flight Simulator 98", 0,
        [&](const corvane::desktop::Message& m) { return module.Handle(m, variables); },
        [&] { closeRequested = true; });
    if (!window.IsPublished()) {
        std::fprintf(stderr, "fltsim98.exe: %s\n", window.Error().c_str());
        return 1;
    }
    while (!stopRequested && !closeRequested) window.ProcessPending(100);
    return 0;
}
