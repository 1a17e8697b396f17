// SPDX-License-Identifier: MIT
//
// corvane-program-win32-tests.exe: corvane.exe against the Win32 stand-in
// simulator, driven from outside as a pilot drives it, through window
// messages only. In order: corvane.exe starts the registered simulator
// (copying the IPC module into its modules folder) and places its map inside
// the simulator's window; the map is painted (its screenshot); a right button
// press opens the pop-up menu and "Show selected map" is chosen with the
// keyboard; an airport is searched (Enter in the text box), opened, and a
// fly-there flight started until the readout window shows its first stage;
// closing the simulator ends corvane.exe with status 0.
// Prints "N passed, M failed".
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/win32ui/ProgramWindows.h"
#include "tests/win32/MiniTest.h"

namespace {

using corvane::win32test::Check;
namespace ids = corvane::win32ui;

constexpr const char* kSimulatorTitle = "Microsoft Flight Simulator 98";

struct Context {
    std::string folder;     // corvane.exe's, ends in "\"
    std::string simulator;  // ...\fs98\fltsim98.exe
    std::string scratch;    // for the screenshot, ends in "\"
    PROCESS_INFORMATION corvane{};
    HWND simulatorWindow = nullptr;
};

template <typename Done>
bool WaitFor(DWORD ms, const Done& done) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(50);
    }
    return true;
}

// Runs fltsim98.exe --install (hidden), which writes the registry entry
// through which corvane.exe finds it, and closes it again.
bool RegisterSimulator(const Context& c) {
    std::string line = "\"" + c.simulator + "\" --install --headless --data \"" +
                       c.folder.substr(0, c.folder.size() - 1) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(c.simulator.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return false;
    HWND window = nullptr;
    WaitFor(30000, [&] { return (window = ::FindWindowA("FS98MAIN", nullptr)) != nullptr; });
    if (window)
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    const bool ended = ::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    DWORD status = 1;
    if (ended) {
        ::GetExitCodeProcess(process.hProcess, &status);
    } else {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return window && ended && status == 0;
}

struct FormSearch {
    int id;
    HWND found;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<FormSearch*>(data);
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "CorvaneForm") == 0 && ::GetDlgItem(window, search->id)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Corvane's window of a form, known by one of its controls: a child of the
// simulator's window, or a window the simulator's window owns.
HWND FormWith(HWND simulator, int controlId) {
    FormSearch search{controlId, nullptr};
    if (simulator)
        ::EnumChildWindows(simulator, VisitWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        ::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                               SMTO_NORMAL, 5000, &copied))
        return std::string();
    return std::string(text, copied);
}

// A click on a line of a list box, as the mouse gives it: the list box
// chooses the line and tells its window at once.
void ClickLine(HWND list, int line) {
    ::SendMessageA(list, LB_SETTOPINDEX, WPARAM(line), 0);
    const int top = int(::SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const int height = int(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const LPARAM at = MAKELPARAM(4, (line - top) * height + height / 2);
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(list, WM_LBUTTONUP, 0, at);
}

bool Shown(HWND window) {
    return window && ::IsWindowVisible(window);
}

// ---- The screenshot ------------------------------------------------------------------

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;  // top-down rows
    bool Read(const std::string& path) {
        std::FILE* in = std::fopen(path.c_str(), "rb");
        if (!in)
            return false;
        std::vector<unsigned char> data;
        unsigned char block[65536];
        for (std::size_t n; (n = std::fread(block, 1, sizeof block, in)) > 0;)
            data.insert(data.end(), block, block + n);
        std::fclose(in);
        if (data.size() < 54 || data[0] != 'B' || data[1] != 'M')
            return false;
        auto u32 = [&](std::size_t at) {
            return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8 |
                   std::uint32_t(data[at + 2]) << 16 | std::uint32_t(data[at + 3]) << 24;
        };
        const std::uint32_t offset = u32(10);
        width = int(u32(18));
        height = int(u32(22));
        if (data[28] != 24 || width <= 0 || height <= 0)
            return false;
        const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
        if (offset + stride * std::size_t(height) > data.size())
            return false;
        rgb.resize(std::size_t(width) * std::size_t(height) * 3);
        for (int y = 0; y < height; ++y) {
            const unsigned char* row = &data[offset + stride * std::size_t(height - 1 - y)];
            for (int x = 0; x < width; ++x) {
                unsigned char* out = &rgb[(std::size_t(y) * std::size_t(width) + x) * 3];
                out[0] = row[x * 3 + 2];
                out[1] = row[x * 3 + 1];
                out[2] = row[x * 3];
            }
        }
        return true;
    }
    COLORREF At(int x, int y) const {
        const unsigned char* p = &rgb[(std::size_t(y) * std::size_t(width) + x) * 3];
        return RGB(p[0], p[1], p[2]);
    }
};

// ---- The tests ---------------------------------------------------------------------------

void StartsTheSimulatorAndAttaches(Check& check, Context& c) {
    // The simulator registered as installed, its module missing, its data beside it.
    check.That(RegisterSimulator(c), "fltsim98.exe --install registered the simulator");
    const std::string fs98 = c.simulator.substr(0, c.simulator.find_last_of('\\') + 1);
    ::CopyFileA((c.folder + "airdata.tri").c_str(), (fs98 + "airdata.tri").c_str(), FALSE);
    ::DeleteFileA((fs98 + "modules\\FS6IPC.dll").c_str());
    check.That(::FindWindowA("FS98MAIN", nullptr) == nullptr, "no simulator runs before the start");

    const std::string program = c.folder + "corvane.exe";
    std::string line = "\"" + program + "\" --screenshot \"" + c.scratch + "corvane.bmp\"";
    ::DeleteFileA((c.scratch + "corvane.bmp").c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const bool started = ::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                                          nullptr, c.folder.c_str(), &startup, &c.corvane);
    check.That(started, "corvane.exe started");
    if (!started)
        return;
    check.That(WaitFor(60000,
                       [&] {
                           c.simulatorWindow = ::FindWindowA("FS98MAIN", kSimulatorTitle);
                           return c.simulatorWindow != nullptr;
                       }),
               "corvane.exe started the registered simulator");
    HWND form1 = nullptr;
    check.That(WaitFor(60000,
                       [&] {
                           form1 = FormWith(c.simulatorWindow, ids::kPicture1Id);
                           return Shown(form1) && FormWith(c.simulatorWindow, ids::kReadoutId);
                       }),
               "the map window is shown inside the simulator's window");
    if (!form1)
        return;
    check.That(
        ::GetFileAttributesA((fs98 + "modules\\FS6IPC.dll").c_str()) != INVALID_FILE_ATTRIBUTES,
        "the IPC module was copied into the simulator's modules folder");
    check.That(::GetParent(form1) == c.simulatorWindow ||
                   ::GetWindow(form1, GW_OWNER) == c.simulatorWindow,
               "the map window lives in the simulator's window");
    RECT map, client;
    ::GetWindowRect(form1, &map);
    ::GetClientRect(c.simulatorWindow, &client);
    ::MapWindowPoints(c.simulatorWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT inside;
    check.That(::IntersectRect(&inside, &map, &client) && ::EqualRect(&inside, &map),
               "the map window lies in the simulator's client area");
    // Round: the corner is cut off, the centre is in. The program gives the
    // window its outline just after showing it (Wine shapes only a shown
    // window), and this test runs in another process, so it waits for the
    // outline rather than reading it once.
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    check.That(WaitFor(10000,
                       [&] {
                           RECT now;
                           ::GetWindowRect(form1, &now);
                           const int w = now.right - now.left, h = now.bottom - now.top;
                           return ::GetWindowRgn(form1, region) != ERROR &&
                                  !::PtInRegion(region, 1, 1) &&
                                  ::PtInRegion(region, w / 2 - 8, h / 2);
                       }),
               "the map window is round");
    ::DeleteObject(region);
}

void MapIsPainted(Check& check, Context& c) {
    HWND form1 = FormWith(c.simulatorWindow, ids::kPicture1Id);
    Picture shot;
    const std::string path = c.scratch + "corvane.bmp";
    check.That(WaitFor(20000, [&] { return shot.Read(path); }), "corvane.exe saved " + path);
    if (shot.width == 0 || !form1)
        return;
    RECT sim, map;
    ::GetWindowRect(c.simulatorWindow, &sim);
    ::GetWindowRect(::GetDlgItem(form1, ids::kPicture1Id), &map);
    // The round map in the screenshot of the simulator's window.
    const int left = map.left - sim.left, top = map.top - sim.top;
    const int size = std::min(map.right - map.left, map.bottom - map.top);
    const double radius = size / 2.0 - 2;
    int green = 0, dots = 0, black = 0, all = 0;
    for (int y = top; y < top + size; ++y) {
        for (int x = left; x < left + size; ++x) {
            const double dx = x - left - size / 2.0, dy = y - top - size / 2.0;
            if (x < 0 || y < 0 || x >= shot.width || y >= shot.height ||
                dx * dx + dy * dy > radius * radius)
                continue;
            const COLORREF colour = shot.At(x, y);
            ++all;
            if (colour == RGB(0, 128, 0)) {
                ++green;
            } else if (colour == RGB(0, 0, 0)) {
                ++black;
            } else if (GetRValue(colour) > 150 || GetBValue(colour) > 150) {
                ++dots;  // airport, VOR and NDB dots, the coast, the aircraft
            }
        }
    }
    std::printf("  map circle: %d pixels, %d map green, %d black, %d dots and coast\n", all, green,
                black, dots);
    // Loosely as the Linux frame of the same start (docs/corvane-in-fltsim98.png,
    // Heathrow at 50 miles): in its circle 90.5 % map green and 5.2 % dots and
    // coast. The windows' fonts and the moment differ, so only the shares are
    // compared, within a few points.
    const double greenShare = all > 0 ? double(green) / all : 0;
    const double dotShare = all > 0 ? double(dots) / all : 0;
    check.That(
        greenShare > 0.85 && greenShare < 0.96,
        "the map's green fills its circle as on Linux (0.905): " + std::to_string(greenShare));
    check.That(dotShare > 0.02 && dotShare < 0.09,
               "dots and coast cover the map as on Linux (0.052): " + std::to_string(dotShare));
}

void PopupMenuRunsACommand(Check& check, Context& c) {
    HWND form1 = FormWith(c.simulatorWindow, ids::kPicture1Id);
    HWND picture = form1 ? ::GetDlgItem(form1, ids::kPicture1Id) : nullptr;
    check.That(picture != nullptr, "the map picture");
    if (!picture)
        return;
    // The right button goes down on the map; the menu takes its release.
    ::PostMessageA(picture, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    HWND menu = nullptr;
    check.That(WaitFor(10000,
                       [&] {
                           menu = ::FindWindowA("#32768", nullptr);
                           return Shown(menu);
                       }),
               "the pop-up menu opened");
    if (!menu)
        return;
    // Down to the third entry, "Show selected map", and Enter.
    for (int key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
        ::PostMessageA(menu, WM_KEYDOWN, WPARAM(key), 1);
        ::PostMessageA(menu, WM_KEYUP, WPARAM(key), 1 | (1u << 30) | (1u << 31));
        ::Sleep(100);
    }
    HWND form3 = nullptr;
    check.That(WaitFor(10000,
                       [&] {
                           form3 = FormWith(c.simulatorWindow, ids::kTxtAirportId);
                           return Shown(form3);
                       }),
               "\"Show selected map\" opened the airport search");
    check.That(!Shown(form1), "the map window is hidden while the search is open");
}

void AirportSearchedOpenedAndFlown(Check& check, Context& c) {
    HWND form3 = FormWith(c.simulatorWindow, ids::kTxtAirportId);
    if (!Shown(form3)) {
        check.That(false, "the search window is not open");
        return;
    }
    // Typed into the text box, then Enter.
    HWND text = ::GetDlgItem(form3, ids::kTxtAirportId);
    ::SendMessageA(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("gatwick"));
    ::PostMessageA(text, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageA(text, WM_CHAR, '\r', 1);
    HWND form2 = nullptr, list = nullptr;
    check.That(WaitFor(10000,
                       [&] {
                           form2 = FormWith(c.simulatorWindow, ids::kFoundlistId);
                           list = form2 ? ::GetDlgItem(form2, ids::kFoundlistId) : nullptr;
                           return Shown(form2);
                       }),
               "the search opened the airport window");
    if (!list)
        return;
    // One match is shown at once; of several, the line of London Gatwick is chosen.
    const int count = Shown(list) ? int(::SendMessageA(list, LB_GETCOUNT, 0, 0)) : 0;
    int line = -1;
    for (int i = 0; i < count && line < 0; ++i) {
        char text[256] = {};
        if (::SendMessageA(list, LB_GETTEXTLEN, WPARAM(i), 0) < LRESULT(sizeof text))
            ::SendMessageA(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
        if (std::strstr(text, "(EGKK)"))
            line = i;
    }
    if (count > 0) {
        check.That(line >= 0, "London Gatwick (EGKK) is among " + std::to_string(count) + " lines");
        if (line < 0)
            return;
        ClickLine(list, line);
    }
    HWND flyme = ::GetDlgItem(form2, ids::kCmdflymeId);
    check.That(
        WaitFor(10000,
                [&] { return Shown(flyme) && TextOf(form2).find("EGKK") != std::string::npos; }),
        "the airport window shows Gatwick, titled '" + TextOf(form2) + "'");
    // Fly there: the landing directions are listed; the first is chosen.
    ::SendMessageA(flyme, BM_CLICK, 0, 0);
    check.That(WaitFor(10000,
                       [&] {
                           char text[64] = {};
                           if (::SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0 ||
                               ::SendMessageA(list, LB_GETTEXTLEN, 0, 0) >= LRESULT(sizeof text))
                               return false;
                           ::SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
                           return std::strstr(text, "(EGKK)") == nullptr;
                       }),
               "the landing directions are listed");
    ClickLine(list, 0);
    HWND form4 = FormWith(c.simulatorWindow, ids::kReadoutId);
    HWND stage = form4 ? ::GetDlgItem(form4, ids::kReadoutId + 5) : nullptr;  // Label6
    std::string shown;
    check.That(WaitFor(20000,
                       [&] {
                           shown = TextOf(stage);
                           return Shown(form4) && !shown.empty() && !Shown(form2);
                       }),
               "the flight started: the readout window shows its stage");
    HWND destination = form4 ? ::GetDlgItem(form4, ids::kReadoutId + 4) : nullptr;
    std::printf("  fly there: '%s', stage '%s'\n", TextOf(destination).c_str(), shown.c_str());
    check.That(shown == "To turning point" || shown == "To airport",
               "the first stage of the flight is reached: '" + shown + "'");
    check.That(Shown(FormWith(c.simulatorWindow, ids::kPicture1Id)), "the map window is back");
}

void EndsWhenTheSimulatorCloses(Check& check, Context& c) {
    if (!c.corvane.hProcess) {
        check.That(false, "corvane.exe is not running");
        return;
    }
    if (c.simulatorWindow)
        ::PostMessageA(c.simulatorWindow, WM_CLOSE, 0, 0);
    const bool ended = ::WaitForSingleObject(c.corvane.hProcess, 30000) == WAIT_OBJECT_0;
    check.That(ended, "corvane.exe ended after the simulator closed");
    DWORD status = 1;
    if (ended)
        ::GetExitCodeProcess(c.corvane.hProcess, &status);
    check.That(status == 0, "with exit status 0, not " + std::to_string(status));
    if (!ended)
        ::TerminateProcess(c.corvane.hProcess, 1);
    ::CloseHandle(c.corvane.hThread);
    ::CloseHandle(c.corvane.hProcess);
    c.corvane = {};
}

struct TestCase {
    const char* name;
    void (*run)(Check&, Context&);
};

const TestCase kTests[] = {
    {"starts_the_simulator_and_attaches", StartsTheSimulatorAndAttaches},
    {"map_is_painted", MapIsPainted},
    {"popup_menu_runs_a_command", PopupMenuRunsACommand},
    {"airport_searched_opened_and_flown", AirportSearchedOpenedAndFlown},
    {"ends_when_the_simulator_closes", EndsWhenTheSimulatorCloses},
};

}  // namespace

int main(int argc, char** argv) {
    Context context;
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    context.folder = path;
    context.folder = context.folder.substr(0, context.folder.find_last_of('\\') + 1);
    context.simulator = context.folder + "fs98\\fltsim98.exe";
    context.scratch = context.folder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf(
                "Usage: corvane-program-win32-tests.exe [--scratch FOLDER]\n"
                "Runs corvane.exe beside this program against fs98\\fltsim98.exe and drives\n"
                "it through window messages; its screenshot goes to FOLDER (default: this\n"
                "program's folder). Prints \"N passed, M failed\".\n");
            return 0;
        } else if (std::strcmp(argv[i], "--scratch") == 0 && i + 1 < argc) {
            context.scratch = argv[++i];
            if (context.scratch.back() != '\\')
                context.scratch += '\\';
        } else {
            std::fprintf(stderr, "corvane-program-win32-tests: unknown argument '%s'\n", argv[i]);
            return 2;
        }
    }
    corvane::win32test::Tally tally;
    for (const TestCase& test : kTests) {
        Check check;
        test.run(check, context);
        tally.Record(test.name, check);
    }
    // Nothing is left running.
    if (context.corvane.hProcess) {
        ::TerminateProcess(context.corvane.hProcess, 1);
        ::CloseHandle(context.corvane.hThread);
        ::CloseHandle(context.corvane.hProcess);
    }
    if (HWND simulator = ::FindWindowA("FS98MAIN", nullptr))
        ::PostMessageA(simulator, WM_CLOSE, 0, 0);
    return tally.Finish();
}
