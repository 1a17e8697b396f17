// SPDX-License-Identifier: MIT
#include "sim/flightgear/SceneryTiles.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace corvane::sim::flightgear {

namespace {

// Tiles per latitude band, as FlightGear divides the globe: the width grows
// towards the poles so that tiles keep about the same area.
struct Band {
    double fromLatDeg;
    double widthDeg;
};
constexpr Band kBands[] = {{89.0, 12.0}, {86.0, 4.0},  {83.0, 2.0},    {76.0, 1.0},
                           {62.0, 0.5},  {22.0, 0.25}, {-22.0, 0.125}, {-62.0, 0.25},
                           {-76.0, 0.5}, {-83.0, 1.0}, {-86.0, 2.0},   {-89.0, 4.0}};

// A 10-degree or 1-degree folder name part: "w030", "n60".
std::string Part(char positive, char negative, int value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%c%0*d", value >= 0 ? positive : negative, digits,
                  value >= 0 ? value : -value);
    return text;
}

// The 10-degree block holding a whole degree: -23 -> -30, 23 -> 20.
int TenBlock(int deg) {
    return static_cast<int>(std::floor(deg / 10.0)) * 10;
}

std::string Trimmed(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

}  // namespace

double TileWidthDeg(double latDeg) {
    for (const Band& band : kBands) {
        if (latDeg >= band.fromLatDeg)
            return band.widthDeg;
    }
    return 12.0;
}

SceneryTile TileAt(double latDeg, double lonDeg) {
    if (!std::isfinite(latDeg))
        latDeg = 0.0;
    if (!std::isfinite(lonDeg))
        lonDeg = 0.0;
    latDeg = std::fmax(-90.0, std::fmin(90.0, latDeg));
    lonDeg = std::fmod(lonDeg + 180.0, 360.0);
    lonDeg = (lonDeg < 0.0 ? lonDeg + 360.0 : lonDeg) - 180.0;

    SceneryTile t;
    t.widthDeg = TileWidthDeg(latDeg);
    const int wholeLon = static_cast<int>(std::floor(lonDeg));
    if (t.widthDeg <= 1.0) {
        t.lonDeg = wholeLon;
        t.x = static_cast<int>((lonDeg - wholeLon) / t.widthDeg);
    } else {
        // Wide tiles start on a multiple of their width, so that the
        // Greenwich meridian is always a tile edge.
        t.lonDeg = static_cast<int>(std::floor(wholeLon / t.widthDeg) * t.widthDeg);
        t.x = 0;
    }
    t.latDeg = static_cast<int>(std::floor(latDeg));
    if (t.latDeg == 90) {  // the pole itself belongs to the top row
        t.latDeg = 89;
        t.y = 7;
    } else {
        t.y = static_cast<int>((latDeg - t.latDeg) * 8.0);
    }
    return t;
}

std::int64_t SceneryTile::Index() const {
    return (static_cast<std::int64_t>(lonDeg + 180) << 14) +
           (static_cast<std::int64_t>(latDeg + 90) << 6) + (y << 3) + x;
}

std::string SceneryTile::Folder() const {
    return Part('e', 'w', TenBlock(lonDeg), 3) + Part('n', 's', TenBlock(latDeg), 2) + "/" +
           Part('e', 'w', lonDeg, 3) + Part('n', 's', latDeg, 2);
}

std::optional<SceneryTile> TileFromIndex(std::int64_t index) {
    if (index < 0)
        return std::nullopt;
    SceneryTile t;
    t.lonDeg = static_cast<int>(index >> 14) - 180;
    t.latDeg = static_cast<int>((index >> 6) & 0xFF) - 90;
    t.y = static_cast<int>((index >> 3) & 7);
    t.x = static_cast<int>(index & 7);
    if (t.lonDeg < -180 || t.lonDeg > 179 || t.latDeg < -90 || t.latDeg > 89)
        return std::nullopt;
    t.widthDeg = TileWidthDeg(t.latDeg + 0.0625);
    // The index must be the one of a point inside the tile it names.
    const double eastDeg = t.WestDeg() + t.widthDeg / 2.0;
    const double northDeg = t.SouthDeg() + 0.0625;
    if (TileAt(northDeg, eastDeg).Index() != index)
        return std::nullopt;
    return t;
}

bool InstalledTerrain::AddFile(std::string_view folder, std::string_view name) {
    constexpr std::string_view kSuffix = ".stg";
    if (name.size() <= kSuffix.size() || name.substr(name.size() - kSuffix.size()) != kSuffix)
        return false;
    const std::string_view digits = name.substr(0, name.size() - kSuffix.size());
    std::int64_t index = -1;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return false;  // an airport's own file ("BIKF.stg") or something else
    const std::optional<SceneryTile> tile = TileFromIndex(index);
    while (!folder.empty() && folder.back() == '/')
        folder.remove_suffix(1);
    if (!tile || tile->Folder() != folder)
        return false;  // FlightGear would not look for it there
    tiles_.insert(index);
    return true;
}

std::vector<std::string> SceneryFolders(const SceneryFolderSources& sources) {
    std::vector<std::string> folders;
    auto add = [&](const std::string& folder) {
        const std::string f = Trimmed(folder);
        if (f.empty())
            return;
        for (const std::string& known : folders) {
            if (known == f)
                return;
        }
        folders.push_back(f);
    };
    for (const std::string& f : sources.given)
        add(f);
    std::size_t start = 0;
    while (start <= sources.environment.size()) {
        const std::size_t colon = sources.environment.find(':', start);
        add(sources.environment.substr(start, colon - start));
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    add(sources.terraSync);
    if (!sources.fgRoot.empty())
        add(Trimmed(sources.fgRoot) + "/Scenery");
    return folders;
}

}  // namespace corvane::sim::flightgear
