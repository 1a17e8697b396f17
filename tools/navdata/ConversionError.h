// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

namespace corvane::navdata::convert {

/// A fault that stops the conversion: an input that cannot be read or is not of a supported
/// kind, a malformed line in strict mode, an output that cannot be written. The message names
/// the file and, where there is one, the line ("apt.dat.gz:1234: ...").
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace corvane::navdata::convert
