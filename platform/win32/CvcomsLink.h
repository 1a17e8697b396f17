// SPDX-License-Identifier: MIT
//
// The link library CVcoms.dll as the program on Windows calls it: loaded by
// name from the program's folder at the first call (LoadLibrary, then
// GetProcAddress for the thirteen undecorated stdcall exports). A library
// that is missing or lacks an export makes that first call throw
// LinkLibraryError, naming the file; start-up shows it and ends.
#pragma once

#include <stdexcept>
#include <string>

#include "ports/SimulatorLink.h"

namespace corvane::win32 {

class LinkLibraryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class CvcomsLink final : public flightstate::SimulatorLink {
  public:
    // programFolder ends in "\" (empty: the system's search order).
    explicit CvcomsLink(std::string programFolder);
    ~CvcomsLink() override;
    CvcomsLink(const CvcomsLink&) = delete;
    CvcomsLink& operator=(const CvcomsLink&) = delete;

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
    std::string programFolder_;
    void* module_ = nullptr;
    Functions* functions_ = nullptr;
};

}  // namespace corvane::win32
