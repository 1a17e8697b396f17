// SPDX-License-Identifier: MIT
//
// fltsim98.exe on Windows: the stand-in simulator as the program meets the
// real one. Its main window is of class "FS98MAIN" titled "Microsoft Flight
// Simulator 98"; it loads its IPC module modules\FS6IPC.dll and hands it every
// "FsasmLib:IPC" message with the atom's text, so the module serves the
// client's block from the flight model's variable space. The flight model runs
// in real time on a window timer. The command line is that of the Linux
// stand-in (--help); --install writes the registry entry through which the
// program finds the simulator's folder.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "linklib/Protocol.h"
#include "sim/fltsim98/CommandLine.h"
#include "sim/fltsim98/RegistryEntry.h"
#include "sim/fltsim98/SimulatorSetup.h"
#include "sim/fltsim98/TraceLog.h"
#include "sim/inprocess/VariableSpaceAccess.h"
#include "sim/ipcmodule/IpcModule.h"
#include "sim/model/Simulator.h"

namespace {

using corvane::sim::CloseAnswer;

constexpr UINT_PTR kStepTimer = 1;
constexpr UINT kStepMs = 20;
constexpr UINT_PTR kPaintTimer = 2;
constexpr UINT kPaintMs = 500;

int ReadVariables(void* context, std::uint32_t offset, std::uint32_t size, void* destination) {
    return static_cast<corvane::ipc::VariableAccess*>(context)->Read(offset, size, destination);
}
int WriteVariables(void* context, std::uint32_t offset, std::uint32_t size, const void* source) {
    return static_cast<corvane::ipc::VariableAccess*>(context)->Write(offset, size, source);
}

struct Stand {
    corvane::sim::Simulator* simulator = nullptr;
    Fs6ipcHandleMessageFunction handleMessage = nullptr;
    UINT ipcMessage = 0;
    CloseAnswer closeAnswer = CloseAnswer::Close;
    LARGE_INTEGER frequency{};
    LARGE_INTEGER last{};
    unsigned long long batches = 0;
};
Stand stand;

double SecondsSinceLastStep() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    const double seconds =
        double(now.QuadPart - stand.last.QuadPart) / double(stand.frequency.QuadPart);
    stand.last = now;
    // A window that was held (moved, a dialog) does not make the model jump.
    return seconds > 0.5 ? 0.5 : seconds;
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT r;
    ::GetClientRect(window, &r);
    RECT sky = r, ground = r;
    sky.bottom = ground.top = r.bottom / 2;
    HBRUSH skyBrush = ::CreateSolidBrush(RGB(120, 170, 230));
    HBRUSH groundBrush = ::CreateSolidBrush(RGB(90, 130, 60));
    ::FillRect(dc, &sky, skyBrush);
    ::FillRect(dc, &ground, groundBrush);
    ::DeleteObject(skyBrush);
    ::DeleteObject(groundBrush);
    const auto& s = stand.simulator->State();
    char text[160];
    std::snprintf(text, sizeof text, "%.4f %.4f  %.0f ft  %.0f kt  heading %.0f  %llu batches",
                  s.latitudeDeg, s.longitudeDeg, s.altitudeM / 0.3048, s.iasMps * 1.943844,
                  s.headingTrueDeg, stand.batches);
    ::SetBkMode(dc, TRANSPARENT);
    ::TextOutA(dc, 8, r.bottom - 24, text, int(std::strlen(text)));
    ::EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == stand.ipcMessage && stand.ipcMessage != 0) {
        // Without the module nobody answers the link.
        if (!stand.handleMessage)
            return 0;
        char name[256] = {};
        if (::GlobalGetAtomNameA(ATOM(wParam), name, sizeof name) == 0)
            return 0;
        corvane::sim::VariableSpaceAccess variables(stand.simulator->Variables());
        Fs6ipcVariables access{&variables, &ReadVariables, &WriteVariables};
        const std::uint32_t answer =
            stand.handleMessage(corvane::link::kMessageName, name, std::uint32_t(lParam), &access);
        stand.batches += answer;
        return LRESULT(answer);
    }
    switch (message) {
        case WM_TIMER:
            if (wParam == kStepTimer) {
                stand.simulator->Advance(SecondsSinceLastStep());
            } else if (wParam == kPaintTimer) {
                ::InvalidateRect(window, nullptr, FALSE);
            }
            return 0;
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_CLOSE:
            switch (stand.closeAnswer) {
                case CloseAnswer::Refuse:
                    return 0;
                case CloseAnswer::Ask:
                    if (::MessageBoxA(window, "End the flight?", "Microsoft Flight Simulator 98",
                                      MB_YESNO | MB_ICONQUESTION) != IDYES)
                        return 0;
                    break;
                case CloseAnswer::Close:
                case CloseAnswer::Accept:
                    break;
            }
            ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "fltsim98.exe: %s\n", message.c_str());
    return 1;
}

std::string ExecutablePath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

bool WriteRegistryEntry(const std::string& exePath, std::string* error) {
    HKEY key = nullptr;
    LONG status = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, corvane::sim::kSimulatorRegistryKey, 0,
                                    nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        const std::string text = corvane::sim::SimulatorRegistryText(exePath);
        status =
            ::RegSetValueExA(key, corvane::sim::kSimulatorRegistryValue, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1));
        ::RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) {
        *error = "Windows error " + std::to_string(status) +
                 (status == ERROR_ACCESS_DENIED ? " (run it as an administrator)" : "");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvane::sim;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    CommandLine command;
    const ParseResult parsed =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), &command);
    if (!parsed.run) {
        std::fputs(parsed.message.c_str(), parsed.exitCode == 0 ? stdout : stderr);
        if (parsed.exitCode != 0)
            std::fputc('\n', stderr);
        return parsed.exitCode;
    }

    if (!command.screenshotPath.empty())
        return Fail("--screenshot is not available in the Windows build");
    if (command.backend == Backend::FlightGear)
        return Fail("--backend flightgear is not available in the Windows build");

    const std::string exe = ExecutablePath();
    const std::string folder = exe.substr(0, exe.find_last_of("\\/") + 1);
    SimulatorSetup setup;
    std::string error;
    if (!setup.LoadData(command, folder, &error))
        return Fail(error);
    for (const std::string& warning : setup.Warnings())
        std::fprintf(stderr, "fltsim98.exe: warning: %s\n", warning.c_str());
    Simulator simulator(SimulatorSetup::Options(command), setup.Ground());
    std::string where;
    if (!setup.Place(simulator, command, &where, &error))
        return Fail(error);
    std::printf("aircraft %s\n", where.c_str());

    TraceLog log;
    if (!command.logPath.empty()) {
        if (!log.Open(command.logPath, &error))
            return Fail(error);
        log.OnStep(simulator.LastTrace());  // the start, with its event
        simulator.SetTraceSink(&log);
    }

    if (command.install) {
        if (!WriteRegistryEntry(exe, &error))
            return Fail("cannot write the registry entry: " + error);
        std::printf("registered %s\n", SimulatorRegistryText(exe).c_str());
    }

    const std::string modulePath = folder + "modules\\FS6IPC.dll";
    HMODULE module = ::LoadLibraryA(modulePath.c_str());
    if (module) {
        stand.handleMessage = reinterpret_cast<Fs6ipcHandleMessageFunction>(
            reinterpret_cast<void*>(::GetProcAddress(module, corvane::ipc::kHandleMessageSymbol)));
    }
    if (!stand.handleMessage) {
        std::fprintf(stderr, "fltsim98.exe: no IPC module at %s; the link will not be served\n",
                     modulePath.c_str());
    }

    stand.simulator = &simulator;
    stand.closeAnswer = command.closeAnswer;
    stand.ipcMessage = ::RegisterWindowMessageA(corvane::link::kMessageName);
    ::QueryPerformanceFrequency(&stand.frequency);
    ::QueryPerformanceCounter(&stand.last);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "FS98MAIN";
    if (!::RegisterClassA(&windowClass))
        return Fail("cannot register the window class FS98MAIN");
    HWND window = ::CreateWindowA("FS98MAIN", "Microsoft Flight Simulator 98",
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 800, 600, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return Fail("cannot make the simulator's window");
    ::ShowWindow(window, command.headless ? SW_HIDE : SW_SHOWNORMAL);
    ::SetTimer(window, kStepTimer, kStepMs, nullptr);
    ::SetTimer(window, kPaintTimer, kPaintMs, nullptr);

    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    simulator.SetTraceSink(nullptr);
    int status = 0;
    if (!log.Close(&error)) {
        std::fprintf(stderr, "fltsim98.exe: %s\n", error.c_str());
        status = 1;
    }
    std::printf("simulator ended after %.1f s simulated, %llu batches served\n", simulator.TimeS(),
                stand.batches);
    if (module)
        ::FreeLibrary(module);
    return status;
}
