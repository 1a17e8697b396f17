// SPDX-License-Identifier: MIT
// The harness's scenario reader from any text: a scenario, or a ScenarioError
// that says why.
#include <string>

#include "tools/harness/Scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        (void)corvane::harness::ParseScenario(
            std::string(reinterpret_cast<const char*>(data), size), "scenario.json");
    } catch (const corvane::harness::ScenarioError&) {
    }
    return 0;
}
