// SPDX-License-Identifier: MIT
#include "navdata/PositionText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace corvane::navdata {

namespace {

// The text of a magnitude that is a whole number of thousandths or coarser
// below 10^12 (whole degrees, feet, tenths and hundredths from the readouts):
// false for any other. Such a magnitude is the double nearest to m / 10^d with
// m below 10^15, and rounded to 15 significant digits it reads m / 10^d
// exactly: the double is within 1.2e-16 of it relatively, half a step of the
// 15th digit is at least 5e-16.
bool AppendShortDecimal(std::string& out, double magnitude) {
    if (!(magnitude < 1e12))
        return false;
    constexpr double kScales[] = {1.0, 10.0, 100.0, 1000.0};
    for (int d = 0; d < 4; ++d) {
        const double scaled = std::nearbyint(magnitude * kScales[d]);
        if (scaled / kScales[d] != magnitude)
            continue;
        const auto m = static_cast<unsigned long long>(scaled);
        const auto unit = static_cast<unsigned long long>(kScales[d]);
        // The first scale that fits leaves no trailing zero.
        const unsigned long long fraction = m % unit;
        const int fractionDigits = d;
        char buffer[32];
        if (m / unit != 0 || fractionDigits == 0) {
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, m / unit).ptr;
            out.append(buffer, end);
        }
        if (fractionDigits > 0) {
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, fraction).ptr;
            out += '.';
            out.append(static_cast<std::size_t>(fractionDigits - (end - buffer)), '0');
            out.append(buffer, end);
        }
        return true;
    }
    return false;
}

// Fixed-point text of a positive finite magnitude rounded to 15 significant digits.
void AppendMagnitude(std::string& out, double magnitude) {
    if (AppendShortDecimal(out, magnitude))
        return;
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

void AppendNumberText(std::string& out, double x) {
    if (std::isnan(x)) {
        out += " NaN";
        return;
    }
    out += x < 0.0 ? '-' : ' ';
    const double magnitude = std::fabs(x);
    if (std::isinf(magnitude)) {
        out += "Infinity";
    } else if (magnitude == 0.0) {
        out += '0';
    } else {
        AppendMagnitude(out, magnitude);
    }
}

std::string NumberText(double x) {
    // Most texts are short enough to stay inside the string: no reserve.
    std::string text;
    AppendNumberText(text, x);
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
