// SPDX-License-Identifier: MIT
//
// A link whose every call gives the same answer: 1 for a link that always
// succeeds (and finds the FS98 simulator), 0 for one that fails everything
// (and finds no simulator).
#pragma once

#include "ports/SimulatorLink.h"

namespace corvane::testing {

class ConstantLink : public flightstate::SimulatorLink {
  public:
    explicit ConstantLink(std::int32_t answer) : answer_(answer) {}
    std::int32_t fsworking() override {
        return answer_ ? flightstate::kFs98 : flightstate::kNoSimulator;
    }
    std::int32_t startit() override { return answer_; }
    std::int32_t stopit() override { return answer_; }
    std::int32_t readDWORD(std::int32_t, void*) override { return answer_; }
    std::int32_t writeDWORD(std::int32_t, const void*) override { return answer_; }
    std::int32_t readxbytes(std::int32_t, std::int32_t, void*) override { return answer_; }
    std::int32_t writexbytes(std::int32_t, std::int32_t, const void*) override { return answer_; }
    std::int32_t startmessage() override { return answer_; }
    std::int32_t sendmessage() override { return answer_; }
    std::int32_t rawreadxbytes(std::int32_t, std::int32_t, void*) override { return answer_; }
    std::int32_t rawwritexbytes(std::int32_t, std::int32_t, const void*) override {
        return answer_;
    }
    std::int32_t rawreadDWORD(std::int32_t, void*) override { return answer_; }
    std::int32_t rawwriteDWORD(std::int32_t, const void*) override { return answer_; }

  private:
    std::int32_t answer_;
};

}  // namespace corvane::testing
