// SPDX-License-Identifier: MIT
//
// The CSV form of the trace: a header line and one line per record, with the
// step's events named in the last column ("touchdown", "crash;stop", ...).
// Formatting writes into a caller's buffer and does not allocate.
#pragma once

#include <cstddef>

#include "sim/trace/TraceRecord.h"

namespace corvane::sim {

class TraceCsv {
  public:
    // The header line, without a line end.
    static const char* Header();

    // Writes one line (without a line end) into buffer. Returns the length
    // written, or 0 when the buffer is too small (the buffer then holds an
    // empty string). A buffer of kLineCapacity bytes is always enough.
    static std::size_t FormatLine(const TraceRecord& record, char* buffer, std::size_t size);

    static constexpr std::size_t kLineCapacity = 1024;
};

}  // namespace corvane::sim
