// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::navdata::convert {

/// Turns a source text into the files' one-byte Windows ANSI (code page 1252) text: a text
/// that is valid UTF-8 with characters beyond ASCII is decoded and each character mapped to
/// its code page 1252 byte ("?" where there is none); any other text is taken as already one
/// byte per character. Control characters become blanks; runs of blanks become one; leading
/// and trailing blanks are removed.
std::string ToAnsiText(std::string_view source);

/// The whitespace-separated fields of a line, and where each starts, so that a free text that
/// runs to the end of the line (an airport's name) can be taken from a field on.
class RowFields {
  public:
    explicit RowFields(std::string_view line);

    std::size_t size() const { return fields_.size(); }
    std::string_view operator[](std::size_t i) const { return fields_[i]; }
    /// The rest of the line from field i on, as it stands (empty when there is no field i).
    std::string_view RestFrom(std::size_t i) const;

  private:
    std::string_view line_;
    std::vector<std::string_view> fields_;
};

/// Parses a decimal number (an optional sign, digits, an optional point and fraction, an
/// optional exponent); false when the whole field is not one or is not finite.
bool ParseNumber(std::string_view field, double& value);
/// Parses a whole number; false when the whole field is not one.
bool ParseInteger(std::string_view field, long& value);

/// Runway code of a designator "1" to "36" with an optional L, R or C (64, 128, 192 added);
/// -1 for anything else ("N", "08T", "H1", "37", "0").
int RunwayCodeOfDesignator(std::string_view designator);

}  // namespace corvane::navdata::convert
