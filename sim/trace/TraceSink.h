// SPDX-License-Identifier: MIT
//
// Receiver of the simulator's trace: one record per step and each stage event
// as it happens. The process writes them to its CSV log; the harness measures.
#pragma once

#include "sim/physics/SimEvent.h"
#include "sim/trace/TraceRecord.h"

namespace corvane::sim {

class TraceSink {
  public:
    virtual ~TraceSink() = default;
    virtual void OnStep(const TraceRecord& record) = 0;
    virtual void OnEvent(const SimEvent& /*event*/) {}
};

}  // namespace corvane::sim
