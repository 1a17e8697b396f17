// SPDX-License-Identifier: MIT
//
// A link straight to the stand-in simulator's variable space, without the
// link library and the IPC module: the program's exchange reaches the flight
// model's inputs and outputs as it would through them.
#pragma once

#include <cstdint>
#include <vector>

#include "ports/SimulatorLink.h"
#include "sim/variables/VariableSpace.h"

namespace corvane::testing {

// The link as the program sees it, answered at once from the stand-in's
// variable space, in the order the batch was laid.
class VariableSpaceLink final : public flightstate::SimulatorLink {
  public:
    explicit VariableSpaceLink(sim::VariableSpace& space) : space_(space) {}
    std::int32_t fsworking() override { return flightstate::kFs98; }
    std::int32_t startit() override { return 1; }
    std::int32_t stopit() override { return 1; }
    std::int32_t readDWORD(std::int32_t o, void* d) override { return readxbytes(4, o, d); }
    std::int32_t writeDWORD(std::int32_t o, const void* s) override { return writexbytes(4, o, s); }
    std::int32_t readxbytes(std::int32_t n, std::int32_t o, void* d) override {
        startmessage();
        rawreadxbytes(n, o, d);
        return sendmessage();
    }
    std::int32_t writexbytes(std::int32_t n, std::int32_t o, const void* s) override {
        startmessage();
        rawwritexbytes(n, o, s);
        return sendmessage();
    }
    std::int32_t startmessage() override {
        batch_.clear();
        return 1;
    }
    std::int32_t rawreadxbytes(std::int32_t n, std::int32_t o, void* d) override {
        batch_.push_back({o, n, d, {}});
        return 1;
    }
    std::int32_t rawwritexbytes(std::int32_t n, std::int32_t o, const void* s) override {
        const auto* bytes = static_cast<const std::uint8_t*>(s);
        batch_.push_back({o, n, nullptr, std::vector<std::uint8_t>(bytes, bytes + n)});
        return 1;
    }
    std::int32_t rawreadDWORD(std::int32_t o, void* d) override { return rawreadxbytes(4, o, d); }
    std::int32_t rawwriteDWORD(std::int32_t o, const void* s) override {
        return rawwritexbytes(4, o, s);
    }
    std::int32_t sendmessage() override {
        for (Request& r : batch_) {
            const auto offset = std::uint32_t(r.offset);
            const auto size = std::uint32_t(r.size);
            if (r.destination == nullptr) {
                space_.Write(offset, size, r.data.data());
            } else {
                space_.Read(offset, size, r.destination);
            }
        }
        batch_.clear();
        return 1;
    }

  private:
    struct Request {
        std::int32_t offset;
        std::int32_t size;
        void* destination;  // null for a write
        std::vector<std::uint8_t> data;
    };
    sim::VariableSpace& space_;
    std::vector<Request> batch_;
};

}  // namespace corvane::testing
