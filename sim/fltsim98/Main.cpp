// SPDX-License-Identifier: MIT
//
// fltsim98.exe: the stand-in simulator. It places the aircraft as the command
// line asks, publishes the simulator's main window ("Microsoft Flight
// Simulator 98", class "FS98MAIN") on the desktop, loads its IPC module from
// modules/FS6IPC.dll and flies the aircraft in real time (times the rate),
// serving the link between the steps, until it is asked to close.
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/Desktop.h"
#include "platform/posix/ProgramFolder.h"
#include "platform/posix/RegistryFile.h"
#include "sim/flightgear/FlightGearSimulator.h"
#include "sim/flightgear/process/FlightGearProcess.h"
#include "sim/fltsim98/CommandLine.h"
#include "sim/fltsim98/ModuleLoader.h"
#include "sim/fltsim98/RealTimeRunner.h"
#include "sim/fltsim98/RegistryEntry.h"
#include "sim/fltsim98/SimulatorSetup.h"
#include "sim/fltsim98/TraceLog.h"
#include "sim/model/Simulator.h"
#ifdef CORVANE_FLTSIM_WINDOW
#include "sim/fltsim98/WindowedRun.h"
#endif

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void OnSignal(int) {
    stopRequested = 1;
}

double MonotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "fltsim98.exe: %s\n", message.c_str());
    return 1;
}

void Say(const std::string& text) {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

std::string Minutes(double seconds) {
    const int s = static_cast<int>(seconds);
    return s % 60 == 0 ? std::to_string(s / 60) + " minutes" : std::to_string(s) + " s";
}

// --fg-options: the protocol file where the user's FlightGear finds it (a
// folder of the user's own, added to FlightGear's data path: its installed
// data is not ours to write) and the options on standard output, one a line,
// so that they can be pasted or handed to fgfs as they are.
int PrintFlightGearOptions(const corvane::sim::CommandLine& command) {
    namespace fg = corvane::sim::flightgear;
    using corvane::desktop::FlightGearProcess;
    fg::LaunchPlan plan;
    plan.dataFolder = FlightGearProcess::UserDataFolder();
    plan.readingsPort = command.fgOptionsReadingsPort;
    plan.commandsPort = command.fgOptionsCommandsPort;
    std::string error;
    if (!FlightGearProcess::WriteProtocolFile(plan.dataFolder, &error))
        return Fail("the protocol file cannot be written: " + error);
    for (const std::string& option : fg::AttachOptions(plan))
        std::printf("%s\n", option.c_str());
    std::fprintf(stderr,
                 "Paste the options above into FlightGear's launcher (Settings, Additional "
                 "Settings), one a line; they fly the Cessna 172P and read the protocol file "
                 "%s/Protocol/%s.xml, just written. Then start FlightGear and run\n"
                 "    corvane-fltsim98 --backend flightgear --fg-attach %d:%d\n"
                 "(or corvane-flightgear --attach), which waits for FlightGear; then Corvane.\n",
                 plan.dataFolder.c_str(), std::string(fg::kProtocolName).c_str(), plan.readingsPort,
                 plan.commandsPort);
    return 0;
}

std::string ExecutablePath(char* argv0) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.string();
    return std::filesystem::absolute(argv0, ec).lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvane::sim;
    CommandLine command;
    const ParseResult parsed =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), &command);
    if (!parsed.run) {
        std::fputs(parsed.message.c_str(), parsed.exitCode == 0 ? stdout : stderr);
        if (parsed.exitCode != 0)
            std::fputc('\n', stderr);
        return parsed.exitCode;
    }
    if (command.printFgOptions)
        return PrintFlightGearOptions(command);
#ifndef CORVANE_FLTSIM_WINDOW
    if (!command.headless) {
        return Fail("this build has no window (built without Qt); run it with --headless");
    }
#endif

    const std::string folder = corvane::desktop::ProgramFolder();
    SimulatorSetup setup;
    std::string error;
    if (!setup.LoadData(command, folder, &error))
        return Fail(error);
    for (const std::string& warning : setup.Warnings()) {
        std::fprintf(stderr, "fltsim98.exe: warning: %s\n", warning.c_str());
    }
    if (!setup.DataPath().empty())
        std::printf("terrain from %s\n", setup.DataPath().c_str());

    Simulator standIn(SimulatorSetup::Options(command), setup.Ground());
    SimulatorBackend* backend = &standIn;
    corvane::desktop::FlightGearProcess flightGear;
    std::unique_ptr<flightgear::FlightGearSimulator> flightGearBackend;
    if (command.backend == Backend::FlightGear) {
        corvane::desktop::FlightGearProcess::Options fg;
        fg.plan = SimulatorSetup::FlightGearPlan(command);
        fg.attach = command.fgAttachReadingsPort != 0;
        if (!fg.attach && !setup.PlaceFlightGear(fg.plan, command, &error))
            return Fail(error);
        fg.logPath = command.fgLogPath;
        fg.notice = [](const std::string& text) { Say(text); };
        if (!flightGear.Start(fg, &error))
            return Fail("FlightGear cannot be started: " + error);
        flightgear::BackendOptions options;
        if (fg.attach) {
            options.startLimitS = flightgear::kAttachStartLimitS;
            Say("waiting up to " + Minutes(options.startLimitS) +
                " for FlightGear's readings on 127.0.0.1 port " +
                std::to_string(flightGear.Plan().readingsPort) + " (its controls go to port " +
                std::to_string(flightGear.Plan().commandsPort) +
                "); start FlightGear with the options corvane-fltsim98 --fg-options=" +
                std::to_string(flightGear.Plan().readingsPort) + ":" +
                std::to_string(flightGear.Plan().commandsPort) + " prints");
        } else {
            std::printf("FlightGear starting (its log is %s):", flightGear.LogPath().c_str());
            for (const std::string& a : flightGear.Command())
                std::printf(" %s", a.c_str());
            std::printf("\n");
            Say("waiting up to " + Minutes(options.startLimitS) +
                " for FlightGear's first readings (it loads its scenery first)");
        }
        options.crashDetection = command.crashDetection;
        options.paused = command.paused;
        options.rate = command.rate;
        options.logPath = fg.attach ? std::string() : flightGear.LogPath();
        options.notice = [](const std::string& text) { Say(text); };
        flightGearBackend = std::make_unique<flightgear::FlightGearSimulator>(flightGear, options);
        backend = flightGearBackend.get();
    } else {
        std::string where;
        if (!setup.Place(standIn, command, &where, &error))
            return Fail(error);
        std::printf("aircraft %s\n", where.c_str());
    }
    SimulatorBackend& simulator = *backend;

    TraceLog log;
    if (!command.logPath.empty()) {
        if (!log.Open(command.logPath, &error))
            return Fail(error);
        log.OnStep(simulator.LastTrace());  // the start, with its event
    }

    if (command.install) {
        const std::string exe = ExecutablePath(argv[0]);
        const std::string registry = corvane::desktop::RegistryFilePath();
        if (!WriteSimulatorRegistryEntry(registry, exe, &error)) {
            return Fail("cannot write the registry entry: " + error);
        }
        std::printf("registered %s in %s\n", SimulatorRegistryText(exe).c_str(), registry.c_str());
        if (std::filesystem::path(exe).filename() != "fltsim98.exe") {
            std::fprintf(stderr,
                         "fltsim98.exe: warning: this program is named %s; the program looks for "
                         "\"fltsim98.exe\" in the entry and will not find the simulator\n",
                         std::filesystem::path(exe).filename().c_str());
        }
    }

    ModuleLoader module(folder);
    if (!module.IsLoaded()) {
        std::fprintf(stderr, "fltsim98.exe: %s; the link will not be served\n",
                     module.Error().c_str());
    }

    RealTimeRunner runner(simulator, &module, command.closeAnswer, !command.headless,
                          log.IsOpen() ? &log : nullptr, true);
    simulator.SetTraceSink(&runner);

    corvane::desktop::PublishedWindow window(
        "FS98MAIN", "Microsoft Flight Simulator 98", 0,
        [&](const corvane::desktop::Message& m) { return runner.OnMessage(m); },
        [&] {
#ifdef CORVANE_FLTSIM_WINDOW
            if (!command.headless)
                return corvane::sim::OnWindowCloseRequest(runner);
#endif
            runner.OnCloseRequest();
        });
    if (!window.IsPublished())
        return Fail(window.Error());
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    int status = 0;
    if (command.headless) {
        runner.Begin(MonotonicSeconds());
        while (!stopRequested && !runner.QuitRequested()) {
            const double wait = runner.SecondsToNextStep(MonotonicSeconds());
            window.ProcessPending(static_cast<int>(std::ceil(wait * 1000.0)));
            if (runner.QuitRequested())
                break;
            runner.RunUntil(MonotonicSeconds());
        }
    } else {
#ifdef CORVANE_FLTSIM_WINDOW
        status = RunWithWindow(argc, argv, command, simulator, runner, window, &stopRequested);
#endif
    }

    simulator.SetTraceSink(nullptr);
    if (!runner.Failure().empty())
        status = 1;
    if (!log.Close(&error)) {
        std::fprintf(stderr, "fltsim98.exe: %s\n", error.c_str());
        status = status == 0 ? 1 : status;
    }
    std::printf("simulator ended after %.1f s simulated, %llu batches served\n", simulator.TimeS(),
                static_cast<unsigned long long>(runner.BatchesServed()));
    return status;
}
