// SPDX-License-Identifier: MIT
//
// The program's link in the harness: the link library's own connection (the
// same window lookup, shared area, request records and IPC module code as
// between two processes) behind the program's SimulatorLink interface. Before
// each batch goes out it calls a hook, with which the harness brings the
// in-process simulator up to the program's virtual time, so that every
// exchange reads the aircraft as it is at that moment; the hook also sees
// the program's state right after each main-cycle tick's guidance steps.
#pragma once

#include <functional>

#include "linklib/Connection.h"
#include "ports/SimulatorLink.h"

namespace corvane::harness {

class ConnectionLink final : public flightstate::SimulatorLink {
  public:
    explicit ConnectionLink(link::Connection& connection) : c_(connection) {}

    void SetBeforeBatch(std::function<void()> hook) { beforeBatch_ = std::move(hook); }
    long long Batches() const { return batches_; }

    std::int32_t fsworking() override { return c_.fsworking(); }
    std::int32_t startit() override { return c_.startit(); }
    std::int32_t stopit() override { return c_.stopit(); }
    std::int32_t readDWORD(std::int32_t offset, void* destination) override {
        Before();
        return c_.readDWORD(offset, destination);
    }
    std::int32_t writeDWORD(std::int32_t offset, const void* source) override {
        Before();
        return c_.writeDWORD(offset, source);
    }
    std::int32_t readxbytes(std::int32_t size, std::int32_t offset, void* destination) override {
        Before();
        return c_.readxbytes(size, offset, destination);
    }
    std::int32_t writexbytes(std::int32_t size, std::int32_t offset, const void* source) override {
        Before();
        return c_.writexbytes(size, offset, source);
    }
    std::int32_t startmessage() override { return c_.startmessage(); }
    std::int32_t sendmessage() override {
        Before();
        return c_.sendmessage();
    }
    std::int32_t rawreadxbytes(std::int32_t size, std::int32_t offset, void* destination) override {
        return c_.rawreadxbytes(size, offset, destination);
    }
    std::int32_t rawwritexbytes(std::int32_t size, std::int32_t offset,
                                const void* source) override {
        return c_.rawwritexbytes(size, offset, source);
    }
    std::int32_t rawreadDWORD(std::int32_t offset, void* destination) override {
        return c_.rawreadDWORD(offset, destination);
    }
    std::int32_t rawwriteDWORD(std::int32_t offset, const void* source) override {
        return c_.rawwriteDWORD(offset, source);
    }

  private:
    void Before() {
        ++batches_;
        if (beforeBatch_)
            beforeBatch_();
    }

    link::Connection& c_;
    std::function<void()> beforeBatch_;
    long long batches_ = 0;
};

}  // namespace corvane::harness
