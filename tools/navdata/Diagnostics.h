// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace corvane::navdata::convert {

/// Collects the malformed input lines met during a conversion. Each is skipped and noted as
/// "file:line: what is wrong"; in strict mode the first one stops the conversion with a
/// ConversionError instead. The first kMaxKept messages are kept for the report.
class Diagnostics {
  public:
    static constexpr int kMaxKept = 20;

    explicit Diagnostics(bool strict = false) : strict_(strict) {}

    /// Notes a malformed line; raises ConversionError in strict mode.
    void Malformed(const std::string& where, const std::string& message);

    long malformedCount() const { return count_; }
    const std::vector<std::string>& messages() const { return messages_; }

  private:
    bool strict_;
    long count_ = 0;
    std::vector<std::string> messages_;
};

}  // namespace corvane::navdata::convert
