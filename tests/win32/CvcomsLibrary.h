// SPDX-License-Identifier: MIT
//
// CVcoms.dll loaded by name, as any Windows program would load it, with its
// thirteen exports looked up by their undecorated names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <string>

namespace corvane::win32test {

class CvcomsLibrary {
  public:
    // The exports use the stdcall convention (the callee pops its arguments).
    using NoArgs = std::int32_t(__stdcall*)();
    using ReadDword = std::int32_t(__stdcall*)(std::int32_t offset, void* destination);
    using WriteDword = std::int32_t(__stdcall*)(std::int32_t offset, const void* source);
    using ReadBytes = std::int32_t(__stdcall*)(std::int32_t size, std::int32_t offset,
                                               void* destination);
    using WriteBytes = std::int32_t(__stdcall*)(std::int32_t size, std::int32_t offset,
                                                const void* source);

    // Loads the library with LoadLibraryA(name); Loaded() tells whether it
    // and all thirteen exports were found, Error() says what was missing.
    explicit CvcomsLibrary(const char* name = "CVcoms");
    ~CvcomsLibrary();
    CvcomsLibrary(const CvcomsLibrary&) = delete;
    CvcomsLibrary& operator=(const CvcomsLibrary&) = delete;

    bool Loaded() const { return loaded_; }
    const std::string& Error() const { return error_; }
    HMODULE Module() const { return module_; }
    // Unloads the library now (the destructor does nothing more).
    void Unload();

    NoArgs fsworking = nullptr;
    NoArgs startit = nullptr;
    NoArgs stopit = nullptr;
    ReadDword readDWORD = nullptr;
    WriteDword writeDWORD = nullptr;
    ReadBytes readxbytes = nullptr;
    WriteBytes writexbytes = nullptr;
    NoArgs startmessage = nullptr;
    NoArgs sendmessage = nullptr;
    ReadBytes rawreadxbytes = nullptr;
    WriteBytes rawwritexbytes = nullptr;
    ReadDword rawreadDWORD = nullptr;
    WriteDword rawwriteDWORD = nullptr;

  private:
    template <typename Function>
    void Resolve(Function& function, const char* exportName);

    HMODULE module_ = nullptr;
    bool loaded_ = false;
    std::string error_;
};

}  // namespace corvane::win32test
