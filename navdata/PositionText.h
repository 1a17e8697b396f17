// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace corvane::navdata {

/// The program's number-to-text rule: one blank before a non-negative value, "-" before a
/// negative one, then the shortest decimal form of the magnitude rounded to 15 significant
/// digits, "." as the decimal point whatever the locale, no trailing zeros, no point for whole
/// values and no zero before the point of a value below 1. Never uses an exponent.
/// Examples: 0.5 -> " .5", -1.7 -> "-1.7", 3 -> " 3", 128.07 -> " 128.07", 1e-7 -> " .0000001".
/// Not-a-number reads " NaN", infinities " Infinity" and "-Infinity".
std::string NumberText(double x);

/// NumberText(x) added to the end of out, without a string of its own: the texts the map
/// writes every frame are built this way.
void AppendNumberText(std::string& out, double x);

/// Runway designator from a stored runway code 0..255: the runway number plus 64 for L, 128
/// for R, 192 for C (strict comparisons, so 192 reads " 64R" and 64 reads " 64").
/// Examples: 155 -> " 27R", 9 -> " 9", 65 -> " 1L".
std::string RunwayDesignatorText(int code);

/// Latitude text: "N " or "S " (0 is north), degrees, "*", minutes, "'", seconds rounded to the
/// nearest tenth, and a double quote; each number by NumberText.
/// Example: 51.4775 -> "N  51* 28' 39\"".
std::string LatitudeText(double lat);

/// Longitude text: "E " or "W " (0 is east), like LatitudeText but with the seconds cut to the
/// tenth below. Example: -0.4614 -> "W  0* 27' 41\"".
std::string LongitudeText(double lon);

}  // namespace corvane::navdata
