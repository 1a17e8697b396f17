// SPDX-License-Identifier: MIT
#include "tools/navdata/SimulatorInstallation.h"

#include <filesystem>

#include "tools/navdata/ConversionError.h"

namespace corvane::navdata::convert {

namespace {

namespace fs = std::filesystem;

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// The first of the places under folder that is a file; empty when none is.
std::string FirstFile(const fs::path& folder, const std::vector<std::string>& places) {
    for (const std::string& place : places) {
        if (IsFile(folder / place)) {
            return (folder / place).string();
        }
    }
    return std::string();
}

std::string List(const std::vector<std::string>& places) {
    std::string text;
    for (const std::string& place : places) {
        text += "\n  " + place;
    }
    return text;
}

}  // namespace

InstalledSourceFiles FindFlightGearFiles(const std::string& root, const char* fgRootVariable) {
    std::string folder = root;
    std::string origin;
    if (folder.empty() && fgRootVariable != nullptr && *fgRootVariable != '\0') {
        folder = fgRootVariable;
        origin = " (from $FG_ROOT)";
    }
    const bool debianDefault = folder.empty();
    if (debianDefault) {
        folder = kDebianFlightGearRoot;
        origin = " (where Debian's flightgear-data-base installs it)";
    }
    const std::vector<std::string> aptPlaces{"Airports/apt.dat.gz", "Airports/apt.dat"};
    const std::vector<std::string> navPlaces{"Navaids/nav.dat.gz", "Navaids/nav.dat"};
    InstalledSourceFiles files{FirstFile(folder, aptPlaces), FirstFile(folder, navPlaces)};
    if (!files.apt.empty() && !files.nav.empty()) {
        return files;
    }
    std::string message = "FlightGear's airport and navaid data were not found in " + folder +
                          origin + ": it should hold" + List({aptPlaces[0], navPlaces[0]}) + "\n";
    std::error_code ec;
    if (debianDefault && !fs::exists(folder, ec)) {
        message +=
            "Install them with:   apt-get install flightgear-data-base\n"
            "or give FlightGear's data folder: --flightgear FG_ROOT";
    } else {
        message +=
            "Give FlightGear's data folder (the one holding Airports/ and Navaids/): "
            "--flightgear FG_ROOT";
    }
    throw ConversionError(message);
}

std::vector<std::string> XPlaneAptPlaces() {
    return {"Global Scenery/Global Airports/Earth nav data/apt.dat",
            "Custom Scenery/Global Airports/Earth nav data/apt.dat",
            "Resources/default scenery/default apt dat/Earth nav data/apt.dat"};
}

std::vector<std::string> XPlaneNavPlaces() {
    return {"Custom Data/earth_nav.dat", "Resources/default data/earth_nav.dat"};
}

InstalledSourceFiles FindXPlaneFiles(const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        throw ConversionError(folder +
                              ": no such folder; give X-Plane's install folder (the one holding "
                              "Resources/ and Custom Scenery/): --xplane DIR");
    }
    InstalledSourceFiles files{FirstFile(folder, XPlaneAptPlaces()),
                               FirstFile(folder, XPlaneNavPlaces())};
    if (files.apt.empty()) {
        throw ConversionError(folder + ": X-Plane's global airports were not found; looked at" +
                              List(XPlaneAptPlaces()) +
                              "\nGive X-Plane's install folder: --xplane DIR");
    }
    if (files.nav.empty()) {
        throw ConversionError(folder + ": X-Plane's navaids were not found; looked at" +
                              List(XPlaneNavPlaces()) +
                              "\nGive X-Plane's install folder: --xplane DIR");
    }
    return files;
}

}  // namespace corvane::navdata::convert
