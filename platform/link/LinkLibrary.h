// SPDX-License-Identifier: MIT
//
// The link library CVcoms as the program calls it: loaded at the first call
// into it, its thirteen exports found by name, and every call forwarded. The
// operating system's part (dlopen and dlsym, or LoadLibrary and
// GetProcAddress) is a LibraryLoader; the rest is the same everywhere. A
// library that is missing or lacks an export makes the first call throw
// LinkLibraryError naming the file; start-up shows it and ends.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "ports/SimulatorLink.h"

// The exports' calling convention: stdcall on 32-bit Windows (the callee pops
// its arguments), the platform's own elsewhere.
#ifdef _WIN32
#define CORVANE_LINK_CALL __stdcall
#else
#define CORVANE_LINK_CALL
#endif

namespace corvane::link {

class LinkLibraryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Opening the library and finding its exports, by the operating system's means.
class LibraryLoader {
  public:
    virtual ~LibraryLoader() = default;
    // The library, opened; throws LinkLibraryError saying why it cannot be.
    virtual void* Open() = 0;
    // An export's address, or null.
    virtual void* Find(void* library, const char* name) = 0;
    virtual void Close(void* library) = 0;
    // What the error says when exports are missing (their names, comma separated).
    virtual std::string MissingExports(const std::string& names) = 0;
};

class LinkLibrary : public flightstate::SimulatorLink {
  public:
    explicit LinkLibrary(std::unique_ptr<LibraryLoader> loader);
    ~LinkLibrary() override;
    LinkLibrary(const LinkLibrary&) = delete;
    LinkLibrary& operator=(const LinkLibrary&) = delete;

    // Loads the library now; throws LinkLibraryError when it cannot.
    void Load();

    std::int32_t fsworking() override;
    std::int32_t startit() override;
    std::int32_t stopit() override;
    std::int32_t readDWORD(std::int32_t offset, void* destination) override;
    std::int32_t writeDWORD(std::int32_t offset, const void* source) override;
    std::int32_t readxbytes(std::int32_t size, std::int32_t offset, void* destination) override;
    std::int32_t writexbytes(std::int32_t size, std::int32_t offset, const void* source) override;
    std::int32_t startmessage() override;
    std::int32_t sendmessage() override;
    std::int32_t rawreadxbytes(std::int32_t size, std::int32_t offset, void* destination) override;
    std::int32_t rawwritexbytes(std::int32_t size, std::int32_t offset,
                                const void* source) override;
    std::int32_t rawreadDWORD(std::int32_t offset, void* destination) override;
    std::int32_t rawwriteDWORD(std::int32_t offset, const void* source) override;

  private:
    struct Functions;
    const Functions& Loaded();

    std::unique_ptr<LibraryLoader> loader_;
    void* library_ = nullptr;
    std::unique_ptr<Functions> functions_;
};

}  // namespace corvane::link
