// SPDX-License-Identifier: MIT
#include "tools/navdata/DatFileReader.h"

#include <cmath>

#include "tools/navdata/ConversionError.h"
#include "tools/navdata/TextRules.h"

namespace corvane::navdata::convert {

namespace {

// Reads the "I"/"A" line and the version line; returns the version.
int ReadVersion(LineReader& reader, const char* kind, std::string& versionLine,
                std::initializer_list<int> supported) {
    std::string line;
    bool sawOrigin = false;
    while (reader.Next(line)) {
        const RowFields fields(line);
        if (fields.size() == 0) {
            continue;
        }
        // The origin line "I" (PC) or "A" (Mac) comes first; some extracts leave it out.
        if (!sawOrigin && (fields[0] == "I" || fields[0] == "A")) {
            sawOrigin = true;
            continue;
        }
        sawOrigin = true;
        long version = 0;
        if (!ParseInteger(fields[0], version)) {
            throw ConversionError(reader.Where() + ": not a valid " + kind +
                                  " file (its first line must be I or A, then the version)");
        }
        bool known = false;
        std::string list;
        for (int v : supported) {
            known = known || v == version;
            list += (list.empty() ? "" : " and ") + std::to_string(v);
        }
        if (!known) {
            throw ConversionError(reader.Where() + ": " + kind + " version " +
                                  std::to_string(version) + " is not supported (this converter " +
                                  "reads versions " + list + ")");
        }
        versionLine = line;
        return static_cast<int>(version);
    }
    throw ConversionError(reader.path() + ": not a valid " + kind +
                          " file (it has no version line)");
}

class RowParser {
  public:
    RowParser(const RowFields& fields, LineReader& reader, Diagnostics& diagnostics,
              const char* rowName)
        : fields_(fields), reader_(reader), diagnostics_(diagnostics), rowName_(rowName) {}

    bool HasFields(std::size_t count) {
        if (fields_.size() < count) {
            return Fail("has " + std::to_string(fields_.size()) + " fields, " +
                        std::to_string(count) + " expected");
        }
        return true;
    }
    bool Number(std::size_t i, double& value) {
        if (!ParseNumber(fields_[i], value)) {
            return Fail("field " + std::to_string(i + 1) + " \"" + std::string(fields_[i]) +
                        "\" is not a number");
        }
        return true;
    }
    bool Position(std::size_t i, GeoPoint& point) {
        if (!Number(i, point.latitude) || !Number(i + 1, point.longitude)) {
            return false;
        }
        if (std::fabs(point.latitude) > 90.0 || std::fabs(point.longitude) > 180.0) {
            return Fail("position " + std::string(fields_[i]) + " " + std::string(fields_[i + 1]) +
                        " lies outside +-90, +-180 degrees");
        }
        return true;
    }
    bool Fail(const std::string& message) {
        diagnostics_.Malformed(reader_.Where(), std::string(rowName_) + " " + message);
        return false;
    }

  private:
    const RowFields& fields_;
    LineReader& reader_;
    Diagnostics& diagnostics_;
    const char* rowName_;
};

bool ParseRunway(const RowFields& f, RowParser& p, SourceRunway& runway) {
    double surface = 0.0;
    if (!p.HasFields(26) || !p.Number(1, runway.widthMetres) || !p.Number(2, surface)) {
        return false;
    }
    // Surface codes are small whole numbers; anything else would not even fit the
    // code's type.
    if (!(surface >= 0.0 && surface < 1000.0)) {
        return p.Fail("has a surface code outside 0 to 999");
    }
    runway.surface = static_cast<int>(surface);
    for (int e = 0; e < 2; ++e) {
        const std::size_t at = 8 + 9 * static_cast<std::size_t>(e);
        SourceRunwayEnd& end = runway.ends[e];
        end.designator = std::string(f[at]);
        if (!p.Position(at + 1, end.position) || !p.Number(at + 3, end.displacedThresholdMetres)) {
            return false;
        }
    }
    if (runway.widthMetres < 0.0) {
        return p.Fail("has a negative width");
    }
    return true;
}

// The row code in the first field of a row of apt.dat or nav.dat; false for an
// empty line and for a code that is not a number (reported as malformed).
bool ReadRowCode(const RowFields& f, LineReader& reader, Diagnostics& diagnostics, long& row) {
    if (f.size() == 0) {
        return false;
    }
    if (!ParseInteger(f[0], row)) {
        diagnostics.Malformed(reader.Where(),
                              "the row code \"" + std::string(f[0]) + "\" is not a number");
        return false;
    }
    return true;
}

}  // namespace

AptDatContents ReadAptDat(LineReader& reader, Diagnostics& diagnostics) {
    AptDatContents contents;
    contents.version = ReadVersion(reader, "apt.dat", contents.versionLine, {1000, 1100, 1200});

    SourceAirport* airport = nullptr;  // the land airport the following rows belong to
    std::string line;
    while (reader.Next(line)) {
        const RowFields f(line);
        long row = 0;
        if (!ReadRowCode(f, reader, diagnostics, row)) {
            continue;
        }
        if (row == 99) {
            break;
        }
        switch (row) {
            case 1: {
                airport = nullptr;
                RowParser p(f, reader, diagnostics, "airport header (row 1)");
                SourceAirport a;
                double tower = 0.0;
                if (!p.HasFields(5) || !p.Number(1, a.elevationFeet) || !p.Number(2, tower)) {
                    ++contents.skippedAirports;
                    break;
                }
                a.hasTower = tower != 0.0;
                a.icao = std::string(f[4]);
                a.name = std::string(f.RestFrom(5));
                a.line = reader.lineNumber();
                contents.airports.push_back(std::move(a));
                airport = &contents.airports.back();
                break;
            }
            case 16:
                airport = nullptr;
                ++contents.seaplaneBases;
                break;
            case 17:
                airport = nullptr;
                ++contents.heliports;
                break;
            case 100: {
                if (airport == nullptr) {
                    break;
                }
                RowParser p(f, reader, diagnostics, "land runway (row 100)");
                SourceRunway runway;
                runway.line = reader.lineNumber();
                if (ParseRunway(f, p, runway)) {
                    airport->runways.push_back(std::move(runway));
                }
                break;
            }
            case 101:
                if (airport != nullptr) {
                    ++contents.waterRunways;
                }
                break;
            case 102:
                if (airport != nullptr) {
                    ++contents.helipads;
                }
                break;
            case 14: {
                if (airport == nullptr) {
                    break;
                }
                RowParser p(f, reader, diagnostics, "tower viewpoint (row 14)");
                GeoPoint point;
                if (p.HasFields(3) && p.Position(1, point) && !airport->towerViewpoint) {
                    airport->towerViewpoint = point;
                }
                break;
            }
            case 15:
            case 1300: {
                if (airport == nullptr) {
                    break;
                }
                RowParser p(f, reader, diagnostics, "start position (row 15 or 1300)");
                GeoPoint point;
                if (p.HasFields(3) && p.Position(1, point) && !airport->firstStart) {
                    airport->firstStart = point;
                }
                break;
            }
            case 50: {
                if (airport == nullptr) {
                    break;
                }
                RowParser p(f, reader, diagnostics, "ATIS frequency (row 50)");
                double frequency = 0.0;
                if (p.HasFields(2) && p.Number(1, frequency)) {
                    if (frequency < 10000.0 || frequency > 99999.0) {
                        p.Fail("frequency " + std::string(f[1]) +
                               " is not in 10 kHz units of a VHF frequency");
                        break;
                    }
                    airport->atis.push_back(
                        SourceAtis{frequency / 100.0, std::string(f.RestFrom(2))});
                }
                break;
            }
            case 1050: {
                // The 8.33 kHz rows of versions 1100 and 1200 give the frequency in kHz.
                if (airport == nullptr) {
                    break;
                }
                RowParser p(f, reader, diagnostics, "ATIS frequency (row 1050)");
                double frequency = 0.0;
                if (p.HasFields(2) && p.Number(1, frequency)) {
                    if (frequency < 100000.0 || frequency > 999999.0) {
                        p.Fail("frequency " + std::string(f[1]) +
                               " is not in kHz units of a VHF frequency");
                        break;
                    }
                    airport->atis.push_back(
                        SourceAtis{frequency / 1000.0, std::string(f.RestFrom(2))});
                }
                break;
            }
            default:
                break;  // taxiways, lights, signs, frequencies other than ATIS, ...
        }
    }
    return contents;
}

AptDatContents ReadAptDatFile(const std::string& path, Diagnostics& diagnostics,
                              std::function<void(long long)> onRead) {
    LineReader reader(path);
    reader.OnRead(std::move(onRead));
    return ReadAptDat(reader, diagnostics);
}

NavDatContents ReadNavDat(LineReader& reader, Diagnostics& diagnostics) {
    NavDatContents contents;
    contents.version =
        ReadVersion(reader, "nav.dat", contents.versionLine, {810, 1000, 1100, 1150, 1200});
    // FlightGear's scenery writes version 1000 (NavData/nav/*.dat) in the 810
    // layout. Version 1100 adds two region fields after the ident of NDBs and VORs and one region
    // field after the airport of localizers and glide slopes; 1150 and 1200 keep that layout.
    const bool v1100 = contents.version >= 1100;
    // From 1150 a localizer's course field adds its magnetic front course, times 360, to its
    // true course: the true course is what remains after whole turns.
    const bool magneticCourseAdded = contents.version >= 1150;
    const std::size_t beaconNameField = v1100 ? 10 : 8;
    const std::size_t ilsRunwayField = v1100 ? 10 : 9;

    std::string line;
    while (reader.Next(line)) {
        const RowFields f(line);
        long row = 0;
        if (!ReadRowCode(f, reader, diagnostics, row)) {
            continue;
        }
        if (row == 99) {
            break;
        }
        if (row == 2 || row == 3) {
            RowParser p(f, reader, diagnostics, row == 2 ? "NDB (row 2)" : "VOR (row 3)");
            SourceBeacon b;
            b.row = static_cast<int>(row);
            double elevation = 0.0;
            if (!p.HasFields(beaconNameField) || !p.Position(1, b.position) ||
                !p.Number(3, elevation) || !p.Number(4, b.frequency) || !p.Number(5, b.rangeNm)) {
                continue;
            }
            b.ident = std::string(f[7]);
            b.name = std::string(f.RestFrom(beaconNameField));
            b.line = reader.lineNumber();
            (row == 2 ? contents.ndbs : contents.vors).push_back(std::move(b));
        } else if (row == 4 || row == 5 || row == 6) {
            RowParser p(f, reader, diagnostics,
                        row == 6 ? "glide slope (row 6)" : "localizer (row 4 or 5)");
            SourceIlsPart part;
            part.row = static_cast<int>(row);
            if (!p.HasFields(ilsRunwayField + 1) || !p.Position(1, part.position) ||
                !p.Number(3, part.elevationFeet) || !p.Number(4, part.frequency) ||
                !p.Number(5, part.rangeNm) || !p.Number(6, part.course)) {
                continue;
            }
            if (magneticCourseAdded && row != 6 && part.course >= 360.0) {
                part.course = std::fmod(part.course, 360.0);
            }
            part.ident = std::string(f[7]);
            part.airport = std::string(f[8]);
            part.runway = std::string(f[ilsRunwayField]);
            part.name = std::string(f.RestFrom(ilsRunwayField + 1));
            part.line = reader.lineNumber();
            (row == 6 ? contents.glideSlopes : contents.localizers).push_back(std::move(part));
        } else {
            ++contents.otherRows;
        }
    }
    return contents;
}

NavDatContents ReadNavDatFile(const std::string& path, Diagnostics& diagnostics,
                              std::function<void(long long)> onRead) {
    LineReader reader(path);
    reader.OnRead(std::move(onRead));
    return ReadNavDat(reader, diagnostics);
}

}  // namespace corvane::navdata::convert
