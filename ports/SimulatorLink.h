// SPDX-License-Identifier: MIT
//
// The thirteen functions of the link library CVcoms as the program calls them.
// The real program reaches the library through the platform's loader (it is
// loaded by name at the first call); tests and the headless harness put their
// own link behind the same interface. Results are those of the library: 1 for
// success, 0 for failure (fsworking: the simulator kind).
#pragma once

#include <cstdint>

namespace corvane::flightstate {

class SimulatorLink {
  public:
    virtual ~SimulatorLink() = default;
    virtual std::int32_t fsworking() = 0;
    virtual std::int32_t startit() = 0;
    virtual std::int32_t stopit() = 0;
    virtual std::int32_t readDWORD(std::int32_t offset, void* destination) = 0;
    virtual std::int32_t writeDWORD(std::int32_t offset, const void* source) = 0;
    virtual std::int32_t readxbytes(std::int32_t size, std::int32_t offset, void* destination) = 0;
    virtual std::int32_t writexbytes(std::int32_t size, std::int32_t offset,
                                     const void* source) = 0;
    virtual std::int32_t startmessage() = 0;
    virtual std::int32_t sendmessage() = 0;
    virtual std::int32_t rawreadxbytes(std::int32_t size, std::int32_t offset,
                                       void* destination) = 0;
    virtual std::int32_t rawwritexbytes(std::int32_t size, std::int32_t offset,
                                        const void* source) = 0;
    virtual std::int32_t rawreadDWORD(std::int32_t offset, void* destination) = 0;
    virtual std::int32_t rawwriteDWORD(std::int32_t offset, const void* source) = 0;
};

// Simulator kinds reported by fsworking.
enum SimulatorKind : std::int16_t {
    kNoSimulator = 1,
    kFs98 = 2,
    kFs6 = 3,
    kCfs = 4,
};

}  // namespace corvane::flightstate
