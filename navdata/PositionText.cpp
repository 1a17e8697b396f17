// SPDX-License-Identifier: MIT
#include "navdata/PositionText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace corvane::navdata {

namespace {

// Fixed-point text of a positive finite magnitude rounded to 15 significant digits.
void AppendMagnitude(std::string& out, double magnitude) {
    // Scientific form with 15 significant digits: d.dddddddddddddde[+-]xx
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t ePos = text.find('e');
    char digits[16];
    std::size_t digitCount = 0;
    for (std::size_t i = 0; i < ePos; ++i) {
        if (text[i] != '.') {
            digits[digitCount++] = text[i];
        }
    }
    while (digitCount > 1 && digits[digitCount - 1] == '0') {
        --digitCount;
    }
    int exponent = 0;
    std::from_chars(text.data() + ePos + 1 + (text[ePos + 1] == '+' ? 1 : 0),
                    text.data() + text.size(), exponent);

    // The first digit has the place value 10^exponent.
    if (exponent < 0) {
        out += '.';
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits, digitCount);
        return;
    }
    const std::size_t wholeDigits = static_cast<std::size_t>(exponent) + 1;
    if (digitCount <= wholeDigits) {
        out.append(digits, digitCount);
        out.append(wholeDigits - digitCount, '0');
        return;
    }
    out.append(digits, wholeDigits);
    out += '.';
    out.append(digits + wholeDigits, digitCount - wholeDigits);
}

std::string AngleText(double value, const char* positivePrefix, const char* negativePrefix,
                      bool roundSeconds) {
    std::string text = value < 0.0 ? negativePrefix : positivePrefix;
    const double a = std::fabs(value);
    const double degrees = std::floor(a);
    const double minutesExact = (a - degrees) * 60.0;
    const double minutes = std::floor(minutesExact);
    const double tenths = (minutesExact - minutes) * 600.0;
    const double seconds = std::floor(roundSeconds ? tenths + 0.5 : tenths) / 10.0;
    text += NumberText(degrees);
    text += '*';
    text += NumberText(minutes);
    text += '\'';
    text += NumberText(seconds);
    text += '"';
    return text;
}

}  // namespace

std::string NumberText(double x) {
    std::string text;
    text.reserve(24);
    if (std::isnan(x)) {
        return " NaN";
    }
    text += x < 0.0 ? '-' : ' ';
    const double magnitude = std::fabs(x);
    if (std::isinf(magnitude)) {
        text += "Infinity";
    } else if (magnitude == 0.0) {
        text += '0';
    } else {
        AppendMagnitude(text, magnitude);
    }
    return text;
}

std::string RunwayDesignatorText(int code) {
    if (code > 192) {
        return NumberText(code - 192) + "C";
    }
    if (code > 128) {
        return NumberText(code - 128) + "R";
    }
    if (code > 64) {
        return NumberText(code - 64) + "L";
    }
    return NumberText(code);
}

std::string LatitudeText(double lat) {
    return AngleText(lat, "N ", "S ", true);
}

std::string LongitudeText(double lon) {
    return AngleText(lon, "E ", "W ", false);
}

}  // namespace corvane::navdata
