// SPDX-License-Identifier: MIT
//
// The link library CVcoms, loaded by name at the first call into it.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "ports/SimulatorLink.h"

namespace corvane::desktop {

// The library could not be loaded; the message names it and where it was
// looked for.
class LinkLibraryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class CVcomsLibrary final : public flightstate::SimulatorLink {
  public:
    // Looks for libCVcoms.so in programFolder first, then where the system
    // loader looks. Nothing is loaded until the first call.
    explicit CVcomsLibrary(std::string programFolder);
    ~CVcomsLibrary() override;

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
    void* handle_ = nullptr;
    Functions* functions_ = nullptr;
};

}  // namespace corvane::desktop
