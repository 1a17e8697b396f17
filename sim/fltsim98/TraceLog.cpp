// SPDX-License-Identifier: MIT
#include "sim/fltsim98/TraceLog.h"

#include <cerrno>
#include <cstring>

#include "sim/trace/TraceCsv.h"

namespace corvane::sim {

TraceLog::~TraceLog() {
    Close();
}

bool TraceLog::Open(const std::string& path, std::string* error) {
    Close();
    failed_ = false;
    lines_ = 0;
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) {
        if (error)
            *error = "cannot write the log " + path + ": " + std::strerror(errno);
        return false;
    }
    path_ = path;
    if (std::fprintf(file_, "%s\n", TraceCsv::Header()) < 0) {
        if (error)
            *error = "cannot write the log " + path + ": " + std::strerror(errno);
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    return true;
}

bool TraceLog::Close(std::string* error) {
    if (!file_)
        return !failed_;
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if ((!flushed || !closed) && !failed_) {
        failed_ = true;
        if (error)
            *error = "the log " + path_ + " is incomplete: " + std::strerror(errno);
    }
    return !failed_;
}

void TraceLog::Failed() {
    std::fprintf(stderr, "fltsim98.exe: writing the log %s failed (%s); logging stops\n",
                 path_.c_str(), std::strerror(errno));
    std::fclose(file_);
    file_ = nullptr;
    failed_ = true;
}

void TraceLog::OnStep(const TraceRecord& record) {
    if (!file_)
        return;
    char line[TraceCsv::kLineCapacity + 1];
    const std::size_t n = TraceCsv::FormatLine(record, line, TraceCsv::kLineCapacity);
    line[n] = '\n';
    if (std::fwrite(line, 1, n + 1, file_) != n + 1)
        return Failed();
    ++lines_;
    if (record.eventMask != 0 && std::fflush(file_) != 0)
        Failed();
}

}  // namespace corvane::sim
