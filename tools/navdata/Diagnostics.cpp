// SPDX-License-Identifier: MIT
#include "tools/navdata/Diagnostics.h"

#include "tools/navdata/ConversionError.h"

namespace corvane::navdata::convert {

void Diagnostics::Malformed(const std::string& where, const std::string& message) {
    const std::string text = where + ": " + message;
    if (strict_) {
        throw ConversionError(text);
    }
    ++count_;
    if (static_cast<int>(messages_.size()) < kMaxKept) {
        messages_.push_back(text);
    }
}

}  // namespace corvane::navdata::convert
