// SPDX-License-Identifier: MIT
//
// The link's operations on Windows: the user32 and kernel32 calls behind the
// seam, and the library's entry point, which closes the connection when the
// library is unloaded.
//
// The shared area is exactly the 65536 protocol bytes, backed by the paging
// file, as the simulator's IPC module expects; nothing is added after it.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#define CVCOMS_BUILDING 1
#include "linklib/LinkPlatform.h"
#include "linklib/cvcoms.h"

namespace corvane::link {
namespace {

HWND ToWindow(WindowRef window) {
    return reinterpret_cast<HWND>(std::uintptr_t(window));
}

HANDLE ToHandle(MappingRef mapping) {
    return reinterpret_cast<HANDLE>(mapping);
}

class Win32LinkPlatform final : public LinkPlatform {
  public:
    WindowRef FindWindowByClass(const char* className) override {
        return WindowRef(reinterpret_cast<std::uintptr_t>(
            ::FindWindowExA(nullptr, nullptr, className, nullptr)));
    }

    std::uint32_t RegisterMessage(const char* name) override {
        return ::RegisterWindowMessageA(name);
    }

    std::uint16_t AddAtom(const std::string& text) override {
        return ::GlobalAddAtomA(text.c_str());
    }

    void DeleteAtom(std::uint16_t atom) override { ::GlobalDeleteAtom(atom); }

    MappingRef CreateMapping(const std::string& name, std::size_t size,
                             bool* alreadyExisted) override {
        HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              DWORD(size), name.c_str());
        // On success the system still hands out a handle when the name was
        // taken; only the last error tells.
        *alreadyExisted = mapping != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
        return reinterpret_cast<MappingRef>(mapping);
    }

    void* MapView(MappingRef mapping, std::size_t size) override {
        return ::MapViewOfFile(ToHandle(mapping), FILE_MAP_WRITE, 0, 0, size);
    }

    void UnmapView(void* view, std::size_t) override { ::UnmapViewOfFile(view); }

    void CloseMapping(MappingRef mapping) override { ::CloseHandle(ToHandle(mapping)); }

    std::uint32_t CurrentProcessId() override { return ::GetCurrentProcessId(); }

    bool SendWithTimeout(WindowRef window, std::uint32_t messageId, std::uint32_t wParam,
                         std::uint32_t lParam, std::uint32_t timeoutMs, void*,
                         std::uint32_t* answer) override {
        DWORD_PTR result = 0;
        if (::SendMessageTimeoutA(ToWindow(window), messageId, WPARAM(wParam), LPARAM(lParam),
                                  SMTO_BLOCK, timeoutMs, &result) == 0) {
            return false;
        }
        *answer = std::uint32_t(result);
        return true;
    }
};

}  // namespace

LinkPlatform& SystemLinkPlatform() {
    static Win32LinkPlatform platform;
    return platform;
}

}  // namespace corvane::link

// Closes the connection when the library is unloaded, whether by FreeLibrary
// or at process exit. Global atoms outlive the process that added them, so the
// atom must be deleted here. Only kernel32 calls run (atom, view, handle),
// which is safe while the loader lock is held.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH)
        stopit();
    return TRUE;
}
