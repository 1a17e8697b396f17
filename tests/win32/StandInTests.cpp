// SPDX-License-Identifier: MIT
//
// corvane-standin-win32-tests.exe: the Win32 stand-in simulator driven as the
// program drives the real one. fltsim98.exe --install writes the registry
// entry; started through the Win32 host it shows its window FS98MAIN; through
// CVcoms.dll its module serves the flight model's variables, and the aircraft
// flies; a close request ends it. Prints "N passed, M failed".
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#undef CopyFile

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/CvcomsLink.h"
#include "platform/win32/Win32Host.h"
#include "sim/variables/Encoding.h"
#include "sim/variables/Offsets.h"
#include "tests/win32/MiniTest.h"

namespace {

using corvane::win32test::Check;

using corvane::win32::CvcomsLink;
using corvane::win32::LinkLibraryError;
using corvane::win32::Win32Host;
namespace offsets = corvane::sim::offsets;

struct Context {
    std::string programFolder;  // this program's, with CVcoms.dll; ends in "\"
    std::string simulator;      // ...\fs98\fltsim98.exe
    std::string data;           // folder of airdata.tri
};

bool WaitFor(Win32Host& host, DWORD ms, const auto& done) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms)
            return false;
        host.DoEvents();
        ::Sleep(20);
    }
    return true;
}

struct Position {
    double latitude = 0, longitude = 0, altitudeFt = 0;
};

bool ReadPosition(CvcomsLink& link, Position* p) {
    corvane::sim::encoding::Fixed64 lat, lon;
    corvane::sim::encoding::AltitudeParts alt;
    const bool ok =
        link.startmessage() == 1 && link.rawreadxbytes(8, offsets::kLatitudeLo, &lat) == 1 &&
        link.rawreadxbytes(8, offsets::kLongitudeLo, &lon) == 1 &&
        link.rawreadxbytes(8, offsets::kAltitudeFraction, &alt) == 1 && link.sendmessage() == 1;
    p->latitude = corvane::sim::encoding::DecodeLatitude(lat);
    p->longitude = corvane::sim::encoding::DecodeLongitude(lon);
    p->altitudeFt = corvane::sim::encoding::DecodeAltitude(alt) / 0.3048;
    return ok;
}

void InstallWritesTheRegistryEntry(Check& check, const Context& c) {
    Win32Host host;
    // Started by hand, to wait for its end.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = corvane::win32::CommandLineOf(c.simulator, {"--install", "--data", c.data});
    const bool started = ::CreateProcessA(c.simulator.c_str(), line.data(), nullptr, nullptr, FALSE,
                                          0, nullptr, nullptr, &startup, &process);
    check.That(started, "the simulator started for --install");
    if (!started)
        return;
    WaitFor(host, 20000, [&] { return host.FindWindowByClass("FS98MAIN") != 0; });
    const auto value = host.ReadRegistryValue(corvane::host::RegistryRoot::LocalMachine,
                                              "Software\\CLASSES\\flight simulator", "defaulticon");
    const std::string expected = c.simulator + ",1";
    check.That(value && value->isString &&
                   value->text == std::string(expected.c_str(), expected.size() + 1),
               "the entry names the program: " + (value ? value->text : std::string("none")));
    host.RequestClose(host.FindWindowByClass("FS98MAIN"));
    check.That(::WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0,
               "the simulator ended on the close request");
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

void StartedFoundFlownAndClosed(Check& check, const Context& c) {
    Win32Host host;
    CvcomsLink link(c.programFolder);
    check.That(link.fsworking() == 1, "no simulator window before the start");
    const std::string trace = c.data + "standin-trace.csv";
    std::remove(trace.c_str());
    check.That(host.StartProgram(
                   c.simulator, {"--data", c.data, "--lat", "47.0", "--lon", "8.0", "--alt", "6000",
                                 "--heading", "90", "--speed", "200", "--log", trace}),
               "the simulator started");
    const bool found = WaitFor(host, 30000, [&] { return link.fsworking() == 2; });
    check.That(found, "fsworking() reports FS98MAIN");
    if (!found)
        return;
    const auto window = host.FindWindowByTitle("Microsoft Flight Simulator 98");
    check.That(window != 0 && window == host.FindWindowByClass("FS98MAIN"),
               "found by class and by title");
    corvane::host::Rect r;
    check.That(host.GetWindowRect(window, &r) && r.right - r.left >= 640, "a window on screen");
    check.That(link.startit() == 1, "the link opens");
    Position first, later;
    check.That(ReadPosition(link, &first), "the module serves a batch");
    check.That(std::abs(first.latitude - 47.0) < 0.02 && std::abs(first.longitude - 8.0) < 0.05 &&
                   std::abs(first.altitudeFt - 6000) < 300,
               "the aircraft is where it was started (" + std::to_string(first.latitude) + ", " +
                   std::to_string(first.longitude) + ", " + std::to_string(first.altitudeFt) +
                   " ft)");
    ::Sleep(3000);
    check.That(ReadPosition(link, &later), "a later batch");
    const double eastNm =
        (later.longitude - first.longitude) * 60 * std::cos(47.0 * 3.14159265358979 / 180);
    check.That(eastNm > 0.05 && eastNm < 0.5,
               "it flies east in real time (" + std::to_string(eastNm) + " nm in 3 s)");
    std::int16_t pause = 1;
    check.That(link.writexbytes(2, offsets::kPause, &pause) == 1, "the pause is written");
    Position paused1, paused2;
    ReadPosition(link, &paused1);
    ::Sleep(1000);
    ReadPosition(link, &paused2);
    check.That(paused1.longitude == paused2.longitude, "paused, it stands still");
    link.stopit();
    check.That(host.RequestClose(window), "the close request is posted");
    check.That(WaitFor(host, 20000, [&] { return link.fsworking() == 1; }),
               "the simulator closed on the request");
    // Its log of every step, written out when it ended.
    const DWORD start = ::GetTickCount();
    int lines = 0;
    while (lines < 50 && ::GetTickCount() - start < 10000) {
        ::Sleep(200);
        lines = 0;
        if (std::FILE* f = std::fopen(trace.c_str(), "rb")) {
            for (int ch; (ch = std::fgetc(f)) != EOF;)
                lines += ch == '\n';
            std::fclose(f);
        }
    }
    check.That(lines >= 50, "the step log holds " + std::to_string(lines) + " lines");
    std::remove(trace.c_str());
}

// A folder without the library: the first call says which file is missing.
void MissingLinkLibraryIsNamed(Check& check, const Context& c) {
    CvcomsLink link(c.programFolder + "fs98\\");
    std::string message;
    try {
        link.fsworking();
    } catch (const LinkLibraryError& e) {
        message = e.what();
    }
    check.That(message.find("fs98\\CVcoms.dll") != std::string::npos,
               "the error names the file: '" + message + "'");
    // CVcoms.dll renamed: an IPC module is a DLL without the thirteen exports.
    CvcomsLink notALink(c.programFolder + "fs98\\modules\\");
    ::CopyFileA((c.programFolder + "fs98\\modules\\FS6IPC.dll").c_str(),
                (c.programFolder + "fs98\\modules\\CVcoms.dll").c_str(), FALSE);
    message.clear();
    try {
        notALink.startit();
    } catch (const LinkLibraryError& e) {
        message = e.what();
    }
    check.That(message.find("lacks fsworking") != std::string::npos,
               "a DLL without the exports is named: '" + message + "'");
    ::DeleteFileA((c.programFolder + "fs98\\modules\\CVcoms.dll").c_str());
}

struct TestCase {
    const char* name;
    void (*run)(Check&, const Context&);
};

const TestCase kTests[] = {
    {"install_writes_the_registry_entry", InstallWritesTheRegistryEntry},
    {"started_found_flown_and_closed", StartedFoundFlownAndClosed},
    {"missing_link_library_is_named", MissingLinkLibraryIsNamed},
};

}  // namespace

int main(int argc, char** argv) {
    Context context;
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    context.programFolder = folder;
    context.simulator = folder + "fs98\\fltsim98.exe";
    context.data = folder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf(
                "Usage: corvane-standin-win32-tests.exe [--data FOLDER]\n"
                "Drives fs98\\fltsim98.exe beside this program through CVcoms.dll; FOLDER\n"
                "holds airdata.tri (default: this program's folder).\n");
            return 0;
        } else if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
            context.data = argv[++i];
        } else {
            std::fprintf(stderr, "corvane-standin-win32-tests: unknown argument '%s'\n", argv[i]);
            return 2;
        }
    }
    corvane::win32test::Tally tally;
    for (const TestCase& test : kTests) {
        Check check;
        test.run(check, context);
        tally.Record(test.name, check);
    }
    return tally.Finish();
}
