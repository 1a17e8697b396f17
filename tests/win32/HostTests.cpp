// SPDX-License-Identifier: MIT
//
// corvane-host-win32-tests.exe: the Win32 host under Wine. Its timers through
// the message pump, windows found, measured and closed, the registry, a program
// started with arguments that need quoting, file checks and copies, message
// boxes answered unseen, and the end of the program. Prints one line per test,
// then "N passed, M failed".
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The host's CopyFile is its own, not the ANSI alias of the Windows call.
#undef CopyFile

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/Win32Host.h"
#include "tests/win32/MiniTest.h"

namespace {

using corvane::win32test::Check;

using corvane::host::MessageBoxButtons;
using corvane::host::MessageBoxIcon;
using corvane::host::MessageBoxResult;
using corvane::host::RegistryRoot;
using corvane::win32::Win32Host;

struct Context {
    std::string program;  // this test program
    std::string scratch;  // a folder of our own, ending in "\"
};

void PumpFor(Win32Host& host, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms)
        host.DoEvents();
}

// Two timers tick at their own pace through the pump; one switched off, or
// switched on with interval 0, delivers nothing; the sync hook follows ticks.
void TimersTickThroughThePump(Check& check, const Context&) {
    Win32Host host;
    int fast = 0, slow = 0, off = 0, zero = 0, syncs = 0;
    host.SetSyncHook([&] { ++syncs; });
    auto fastTimer = host.CreateTimer(50, [&] { ++fast; });
    auto slowTimer = host.CreateTimer(200, [&] { ++slow; });
    auto offTimer = host.CreateTimer(20, [&] { ++off; });
    auto zeroTimer = host.CreateTimer(0, [&] { ++zero; });
    check.That(!fastTimer->Enabled() && fastTimer->Interval() == 50, "a new timer is off");
    fastTimer->SetEnabled(true);
    slowTimer->SetEnabled(true);
    zeroTimer->SetEnabled(true);
    offTimer->SetEnabled(true);
    offTimer->SetEnabled(false);
    PumpFor(host, 1000);
    // Wine's timers are coarse on a loaded machine: only the order of sizes counts.
    check.That(fast >= 8 && fast <= 22, "50 ms timer ticked " + std::to_string(fast) + " times");
    check.That(slow >= 2 && slow <= 6, "200 ms timer ticked " + std::to_string(slow) + " times");
    check.That(fast > 2 * slow, "the faster timer ticks more often");
    check.That(off == 0 && zero == 0, "a timer off or of interval 0 ticked");
    check.That(syncs >= fast + slow, "the windows caught up after every tick");

    slowTimer->SetInterval(20);
    const int before = slow;
    PumpFor(host, 400);
    check.That(slow - before >= 6, "a shorter interval ticks faster");
    fastTimer.reset();  // a timer destroyed while on delivers nothing more
    PumpFor(host, 100);
}

LRESULT CALLBACK TestWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ::DestroyWindow(window);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// A window found by class and by title, its rectangle read, and closed by the
// close request.
void WindowsFoundMeasuredAndClosed(Check& check, const Context&) {
    Win32Host host;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TestWindowProcedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CORVANETEST";
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowA("CORVANETEST", "Corvane test window", WS_POPUP | WS_VISIBLE, 100,
                                  80, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    check.That(window != nullptr, "the window was made");
    const auto id = corvane::host::WindowId(reinterpret_cast<std::uintptr_t>(window));
    check.That(host.FindWindowByClass("CORVANETEST") == id, "found by class");
    check.That(host.FindWindowByTitle("Corvane test window") == id, "found by title");
    check.That(host.FindWindowByClass("NOSUCHCLASS") == 0, "an unknown class finds nothing");
    check.That(host.FindWindowByTitle("No such window title") == 0,
               "an unknown title finds nothing");
    corvane::host::Rect r;
    check.That(host.GetWindowRect(id, &r) && r == corvane::host::Rect{100, 80, 400, 280},
               "the rectangle is (100, 80)-(400, 280)");
    check.That(host.RequestClose(id), "the close request was posted");
    PumpFor(host, 100);
    check.That(!::IsWindow(window), "the window closed on the request");
    check.That(!host.GetWindowRect(id, &r), "a closed window has no rectangle");
    check.That(!host.RequestClose(id), "a closed window takes no request");
    check.That(host.FindWindowByClass("CORVANETEST") == 0, "a closed window is not found");
}

// Strings with their terminating zero, other kinds as not strings, missing
// keys and values as nothing.
void RegistryValues(Check& check, const Context&) {
    Win32Host host;
    const char* key = "Software\\Corvane\\HostTest";
    HKEY opened = nullptr;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened,
                      nullptr);
    const char path[] = "C:\\FLTSIM98\\FLTSIM98.EXE";
    ::RegSetValueExA(opened, "EXE Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                     sizeof path);
    const DWORD number = 7;
    ::RegSetValueExA(opened, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof number);
    ::RegCloseKey(opened);

    const auto text = host.ReadRegistryValue(RegistryRoot::CurrentUser, key, "EXE Path");
    check.That(text && text->isString && text->text == std::string(path, sizeof path),
               "a string value reads with its terminating zero");
    const auto dword = host.ReadRegistryValue(RegistryRoot::CurrentUser, key, "Number");
    check.That(dword && !dword->isString && dword->text.size() == 4,
               "a number reads as not a string");
    check.That(!host.ReadRegistryValue(RegistryRoot::CurrentUser, key, "Missing"),
               "a missing value reads as nothing");
    check.That(!host.ReadRegistryValue(RegistryRoot::LocalMachine, "Software\\No\\Such\\Key", "x"),
               "a missing key reads as nothing");
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A program started with arguments holding blanks, quotes and backslashes gets
// them as they were; the copy of its output is the same; copies of what is not
// there fail, and a folder is not a file.
void ProgramsAndFiles(Check& check, const Context& c) {
    Win32Host host;
    const std::string written = c.scratch + "child args.txt";
    std::remove(written.c_str());
    const std::vector<std::string> arguments = {
        "--child", written, "two words", "say \"hi\"", "ends in \\", "C:\\a b\\", "", "plain"};
    check.That(host.StartProgram(c.program, arguments), "the program started");
    const DWORD start = ::GetTickCount();
    while (!host.FileExists(written) && ::GetTickCount() - start < 20000)
        ::Sleep(50);
    ::Sleep(200);
    std::string expected;
    for (std::size_t i = 2; i < arguments.size(); ++i)
        expected += "[" + arguments[i] + "]";
    check.That(ReadAll(written) == expected, "the child got " + ReadAll(written));
    check.That(!host.StartProgram(c.scratch + "no such program.exe", {}),
               "a missing program does not start");

    const std::string copy = c.scratch + "copy.txt";
    check.That(host.CopyFile(written, copy) && ReadAll(copy) == expected, "the copy is the same");
    check.That(host.CopyFile(written, copy), "a copy overwrites");
    check.That(!host.CopyFile(c.scratch + "missing.txt", c.scratch + "other.txt"),
               "copying what is not there fails");
    check.That(!host.FileExists(c.scratch + "other.txt"), "a failed copy makes no file");
    check.That(!host.CopyFile(written, c.scratch + "no folder\\copy.txt"),
               "copying into a missing folder fails");
    check.That(!host.FileExists(c.scratch.substr(0, c.scratch.size() - 1)),
               "a folder is not a file");
    check.That(host.PathSeparator() == '\\', "the separator is a backslash");
    std::remove(written.c_str());
    std::remove(copy.c_str());
}

// The screen in twips is the screen in pixels times the twips per pixel.
void ScreenAndMessageBoxes(Check& check, const Context&) {
    Win32Host host;
    const int tx = host.TwipsPerPixelX();
    check.That(
        tx > 0 && host.ScreenWidthTwips() == ::GetSystemMetrics(SM_CXSCREEN) * tx &&
            host.ScreenHeightTwips() == ::GetSystemMetrics(SM_CYSCREEN) * host.TwipsPerPixelY(),
        "screen twips");
    ::SetCursorPos(123, 45);
    const auto cursor = host.CursorPosition();
    check.That(cursor.x == 123 && cursor.y == 45, "the cursor is where it was put");
    const double t = host.TimeOfDay();
    check.That(t >= 0 && t < 86400, "the time of day is within the day");
    check.That(host.AnswersMessageBoxes(), "CORVANE_MESSAGE_BOXES=answer is set for the tests");
    check.That(host.ShowMessageBox("text", "title", MessageBoxIcon::Question,
                                   MessageBoxButtons::YesNo) == MessageBoxResult::No &&
                   host.ShowMessageBox("text", "title", MessageBoxIcon::Critical,
                                       MessageBoxButtons::RetryCancel) == MessageBoxResult::Cancel,
               "unseen boxes are answered No and Cancel");
}

// Ending stops every timer, runs the end hook once, and leaves the message loop
// with the status.
void EndingTheProgram(Check& check, const Context&) {
    Win32Host host;
    int ticks = 0, ends = 0;
    host.SetEndHook([&] { ++ends; });
    auto timer = host.CreateTimer(20, [&] {
        if (++ticks == 3)
            host.EndProgram(5);
    });
    timer->SetEnabled(true);
    const int status = host.RunMessageLoop();
    check.That(status == 5 && host.Ended() && host.ExitStatus() == 5, "the loop ends with 5");
    host.EndProgram(6);
    check.That(ends == 1 && host.ExitStatus() == 5, "the end runs once");
    PumpFor(host, 150);
    check.That(ticks == 3, "no tick after the end");
    // The quit message is taken, so that the next test's pump starts clean.
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void CommandLineQuoting(Check& check, const Context&) {
    using corvane::win32::CommandLineOf;
    const struct {
        std::vector<std::string> arguments;
        const char* line;
    } cases[] = {
        {{"a"}, "p a"},
        {{"a b"}, "p \"a b\""},
        {{""}, "p \"\""},
        {{"a\\b"}, "p a\\b"},
        {{"a b\\"}, "p \"a b\\\\\""},
        {{"x\"y"}, "p \"x\\\"y\""},
        {{"x\\\"y"}, "p \"x\\\\\\\"y\""},
    };
    for (const auto& c : cases) {
        const std::string line = CommandLineOf("p", c.arguments);
        check.That(line == c.line, "quoted as " + line + ", not " + c.line);
    }
}

struct TestCase {
    const char* name;
    void (*run)(Check&, const Context&);
};

const TestCase kTests[] = {
    {"timers_tick_through_the_pump", TimersTickThroughThePump},
    {"windows_found_measured_and_closed", WindowsFoundMeasuredAndClosed},
    {"registry_values", RegistryValues},
    {"programs_and_files", ProgramsAndFiles},
    {"screen_cursor_and_message_boxes", ScreenAndMessageBoxes},
    {"ending_the_program", EndingTheProgram},
    {"command_line_quoting", CommandLineQuoting},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        // Started by programs_and_files: writes what it got, each in brackets.
        std::string got;
        for (int i = 3; i < argc; ++i)
            got += std::string("[") + argv[i] + "]";
        const std::string temporary = std::string(argv[2]) + ".part";
        std::ofstream(temporary, std::ios::binary) << got;
        ::MoveFileA(temporary.c_str(), argv[2]);
        return 0;
    }
    Context context;
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    context.program = path;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "Usage: corvane-host-win32-tests.exe --scratch FOLDER\n"
                "The Win32 host's tests (run with CORVANE_MESSAGE_BOXES=answer). FOLDER\n"
                "takes the files they write. Prints \"N passed, M failed\".\n");
            return 0;
        } else if (std::strcmp(argv[i], "--scratch") == 0 && i + 1 < argc) {
            context.scratch = argv[++i];
        } else {
            std::fprintf(stderr, "corvane-host-win32-tests: unknown argument '%s'\n", argv[i]);
            return 2;
        }
    }
    if (context.scratch.empty()) {
        std::fprintf(stderr, "corvane-host-win32-tests: --scratch FOLDER is needed\n");
        return 2;
    }
    if (context.scratch.back() != '\\')
        context.scratch += '\\';
    corvane::win32test::Tally tally;
    for (const TestCase& test : kTests) {
        Check check;
        test.run(check, context);
        tally.Record(test.name, check);
    }
    return tally.Finish();
}
