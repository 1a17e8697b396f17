// SPDX-License-Identifier: MIT
#pragma once

#include <numbers>

namespace corvane::navdata {

/// The navigation constants shared by the geodesy, the map and the autopilot.
struct NavigationConstants {
    double Pi;                     ///< circle constant
    double DegToRad;               ///< degrees to radians; radians to degrees divides by it
    double HalfPi;                 ///< a right angle in radians
    double EarthRadius;            ///< sphere radius in metres (half a meridian is 20003500 m)
    double FeetPerDegreeLatitude;  ///< feet in one degree of latitude (flat-earth method, map)
};

/// Builds the navigation constants. Evaluated at compile time; the start-up step that
/// builds the text key table and the constants calls it for the record only.
/// Example: InitNavigationConstants().EarthRadius is about 6367311.8 m, so one degree of
/// great-circle arc is 20003500 / 180 = 111130.555... m.
constexpr NavigationConstants InitNavigationConstants() {
    constexpr double pi = std::numbers::pi;
    return NavigationConstants{pi, pi / 180.0, pi / 2.0, 20003500.0 / pi, 364601.55567230465};
}

inline constexpr double Pi = InitNavigationConstants().Pi;
inline constexpr double DegToRad = InitNavigationConstants().DegToRad;
inline constexpr double HalfPi = InitNavigationConstants().HalfPi;
inline constexpr double EarthRadius = InitNavigationConstants().EarthRadius;
inline constexpr double FeetPerDegreeLatitude = InitNavigationConstants().FeetPerDegreeLatitude;

/// Metres to feet, as every caller of the geodesy converts.
inline constexpr double FeetPerMetre = 3.2808;
/// Metres to nautical miles.
inline constexpr double NauticalMilesPerMetre = 0.0005399568;

}  // namespace corvane::navdata
