// SPDX-License-Identifier: MIT
//
// The simulator's CSV trace on a file (--log): the header, one line per step
// and the step's stage events in the last column (see TraceCsv). Lines are
// buffered and flushed at every event and when the log is closed. A write
// error is reported once and ends the logging; the simulator goes on.
#pragma once

#include <cstdio>
#include <string>

#include "sim/trace/TraceSink.h"

namespace corvane::sim {

class TraceLog : public TraceSink {
  public:
    TraceLog() = default;
    ~TraceLog() override;
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // Creates (or truncates) the file and writes the header. False with the
    // reason in *error when it cannot.
    bool Open(const std::string& path, std::string* error);
    // Flushes and closes; false (with *error) when anything written was lost.
    bool Close(std::string* error = nullptr);

    bool IsOpen() const { return file_ != nullptr; }
    std::size_t LinesWritten() const { return lines_; }

    void OnStep(const TraceRecord& record) override;

  private:
    void Failed();

    std::FILE* file_ = nullptr;
    std::string path_;
    std::size_t lines_ = 0;
    bool failed_ = false;
};

}  // namespace corvane::sim
