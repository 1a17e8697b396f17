// SPDX-License-Identifier: MIT
//
// fs98ipc-testserver.exe: a stand-in for the simulator's main window on
// Windows. A hidden top-level window of class "FS98MAIN" titled "Microsoft
// Flight Simulator 98" answers the registered message "FsasmLib:IPC": it opens
// the shared area named by the atom in the first parameter, walks the block
// against a 64 KiB variable space with the IPC module's own walk, and answers 1
// (0 when the walk stopped early or the area could not be opened).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "linklib/Protocol.h"
#include "sim/ipcmodule/ServeBlock.h"
#include "tests/win32/TestServerLayout.h"

namespace corvane::win32test {
namespace {

using link::LoadWord;
using link::StoreWord;

constexpr UINT_PTR kLifetimeTimer = 1;
constexpr UINT kHoldMessage = WM_APP + 1;

class VariableSpace final : public ipc::VariableAccess {
  public:
    VariableSpace() {
        for (std::uint32_t i = 0; i < kVariableSpaceSize; ++i)
            bytes_[i] = PatternByte(i);
        for (std::uint32_t i = kScratchOffset; i < kVariableSpaceSize; ++i)
            bytes_[i] = 0;
    }

    bool Read(std::uint32_t offset, std::uint32_t size, void* destination) override {
        if (!Fits(offset, size))
            return false;
        std::memcpy(destination, bytes_.data() + offset, size);
        return true;
    }

    bool Write(std::uint32_t offset, std::uint32_t size, const void* source) override {
        if (!Fits(offset, size))
            return false;
        std::memcpy(bytes_.data() + offset, source, size);
        return true;
    }

    std::uint8_t* At(std::uint32_t offset) { return bytes_.data() + offset; }

    // Reads a steering word and clears it.
    std::uint32_t TakeWord(std::uint32_t offset) {
        std::uint32_t value = LoadWord(At(offset));
        StoreWord(At(offset), 0);
        return value;
    }

  private:
    static bool Fits(std::uint32_t offset, std::uint32_t size) {
        return std::uint64_t(offset) + size <= kVariableSpaceSize;
    }
    std::array<std::uint8_t, kVariableSpaceSize> bytes_{};
};

// Gives record `n` (from 1) of the block an unknown kind, as a faulty
// simulator might answer.
void CorruptRecord(std::uint8_t* area, std::uint32_t n) {
    std::size_t at = 0;
    for (std::uint32_t index = 1; at + link::kReadHeaderSize <= link::kAreaSize; ++index) {
        const std::uint32_t kind = LoadWord(area + at);
        if (kind != link::kKindRead && kind != link::kKindWrite)
            return;
        if (index == n) {
            StoreWord(area + at, kUnknownKind);
            return;
        }
        const std::size_t header =
            kind == link::kKindRead ? link::kReadHeaderSize : link::kWriteHeaderSize;
        at += header + LoadWord(area + at + 8);
    }
}

class TestServer {
  public:
    explicit TestServer(UINT messageId) : messageId_(messageId) {}

    UINT MessageId() const { return messageId_; }

    // Serves one batch. The mapping is opened for each message and closed
    // again: a handle kept open would keep the name alive after the client
    // closed its area, and a later client of the same name could not create it.
    LRESULT Serve(HWND window, WPARAM atomParam) {
        char name[256] = {};
        if (::GlobalGetAtomNameA(ATOM(atomParam), name, sizeof name) == 0)
            return 0;
        std::memset(variables_.At(kAreaNameOffset), 0, kAreaNameSize);
        std::memcpy(variables_.At(kAreaNameOffset), name,
                    std::min(std::strlen(name), kAreaNameSize - 1));
        StoreWord(variables_.At(kServedCountOffset),
                  LoadWord(variables_.At(kServedCountOffset)) + 1);

        HANDLE mapping = ::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
        if (mapping == nullptr)
            return 0;
        auto* area = static_cast<std::uint8_t*>(
            ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, link::kAreaSize));
        if (area == nullptr) {
            ::CloseHandle(mapping);
            return 0;
        }
        std::array<std::uint8_t, kLastBlockSize> laid;
        std::memcpy(laid.data(), area, laid.size());

        const bool served = ipc::ServeBlock(area, link::kAreaSize, variables_);

        std::memcpy(variables_.At(kLastBlockOffset), laid.data(), laid.size());
        if (std::uint32_t n = variables_.TakeWord(kCorruptRecordOffset))
            CorruptRecord(area, n);
        // A sent message is handled inside GetMessage, so the hold is posted
        // to the server itself and taken in the message loop, where a hung
        // simulator would be: busy with its own work, looking at no message.
        if (std::uint32_t holdMs = variables_.TakeWord(kHoldNextMsOffset)) {
            ::PostMessageA(window, kHoldMessage, WPARAM(holdMs), 0);
        }
        ::UnmapViewOfFile(area);
        ::CloseHandle(mapping);
        return served ? 1 : 0;
    }

  private:
    UINT messageId_;
    VariableSpace variables_;
};

TestServer* theServer = nullptr;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (theServer != nullptr && message == theServer->MessageId()) {
        return theServer->Serve(window, wParam);
    }
    switch (message) {
        case kHoldMessage:
            ::Sleep(DWORD(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kLifetimeTimer) {
                std::fprintf(stderr, "fs98ipc-testserver: lifetime over, closing\n");
                ::DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

void PrintUsage() {
    std::printf(
        "Usage: fs98ipc-testserver.exe [--lifetime-seconds N]\n"
        "\n"
        "A stand-in for the flight simulator's main window: a hidden top-level\n"
        "window of class \"FS98MAIN\" titled \"Microsoft Flight Simulator 98\" that\n"
        "answers the registered message \"FsasmLib:IPC\" by serving the request\n"
        "block against a 64 KiB variable space.\n"
        "\n"
        "  --lifetime-seconds N  close after N seconds (default 600), so that a\n"
        "                        test run that lost its client never leaves it behind\n"
        "  --help                show this text\n"
        "\n"
        "The server closes on WM_CLOSE. Steering words in its variable space make\n"
        "it hold the next message (to test time-outs) or answer a record with an\n"
        "unknown kind; see TestServerLayout.h.\n");
}

}  // namespace
}  // namespace corvane::win32test

int main(int argc, char** argv) {
    using namespace corvane::win32test;
    unsigned lifetimeSeconds = 600;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintUsage();
            return 0;
        }
        if (arg == "--lifetime-seconds" && i + 1 < argc) {
            char* end = nullptr;
            unsigned long value = std::strtoul(argv[++i], &end, 10);
            if (*end != '\0' || value == 0 || value > 86400) {
                std::fprintf(stderr, "fs98ipc-testserver: --lifetime-seconds wants 1 to 86400\n");
                return 2;
            }
            lifetimeSeconds = unsigned(value);
            continue;
        }
        std::fprintf(stderr, "fs98ipc-testserver: unknown argument '%s' (try --help)\n",
                     arg.c_str());
        return 2;
    }

    const UINT messageId = ::RegisterWindowMessageA(corvane::link::kMessageName);
    if (messageId == 0) {
        std::fprintf(stderr, "fs98ipc-testserver: cannot register \"%s\" (error %lu)\n",
                     corvane::link::kMessageName, ::GetLastError());
        return 1;
    }
    TestServer server(messageId);
    theServer = &server;

    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "FS98MAIN";
    if (::RegisterClassA(&windowClass) == 0) {
        std::fprintf(stderr, "fs98ipc-testserver: cannot register the window class (error %lu)\n",
                     ::GetLastError());
        return 1;
    }
    // Never shown: the link finds top-level windows whether visible or not.
    HWND window = ::CreateWindowExA(0, "FS98MAIN", "Microsoft Flight Simulator 98",
                                    WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                                    nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "fs98ipc-testserver: cannot create the window (error %lu)\n",
                     ::GetLastError());
        return 1;
    }
    ::SetTimer(window, kLifetimeTimer, lifetimeSeconds * 1000u, nullptr);

    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    theServer = nullptr;
    return 0;
}
