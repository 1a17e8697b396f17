// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "navdata/AirportDatabaseFile.h"
#include "navdata/Geodesy.h"
#include "tests/navdata/GzipFile.h"
#include "tools/navdata/AirportDatabaseBuilder.h"
#include "tools/navdata/ConversionError.h"
#include "tools/navdata/DatFileReader.h"
#include "tools/navdata/TextRules.h"

namespace corvane::navdata::convert {
namespace {

using corvane::navdata::testing::TempFolder;
using corvane::navdata::testing::WriteGzip;

// Runway rows: row code, width, surface, shoulder, smoothness, lights, lights, signs, then two
// ends of nine fields.
const char* const kAptDat =
    "I\n"
    "1000 Version - hand-made test data\n"
    "\n"
    "1   100 1 0 EGLL London {Heathrow}\n"
    "100 50.00 1 0 0.25 0 0 0 09L 51.4775 -0.4850 300.00 0.00 1 0 0 0 27R 51.4775 -0.4340 "
    "0.00 0.00 1 0 0 0\n"
    "100 45.00 2 0 0.25 0 0 0 09R 51.4650 -0.4820 0.00 0.00 1 0 0 0 27L 51.4650 -0.4330 "
    "0.00 0.00 1 0 0 0\n"
    "100 30.00 13 0 0.25 0 0 0 05 51.4700 -0.4700 0 0 1 0 0 0 23 51.4800 -0.4600 0 0 1 0 0 0\n"
    "100 30.00 1 0 0.25 0 0 0 N 51.4700 -0.4700 0 0 1 0 0 0 S 51.4800 -0.4700 0 0 1 0 0 0\n"
    "14 51.4700 -0.4600 100 0 Tower\n"
    "15 51.4710 -0.4610 90 Gate 1\n"
    "15 51.4720 -0.4620 90 Gate 2\n"
    "50 12807 HEATHROW ATIS\n"
    "50 11372 ATIS 2\n"
    "1 50 0 0 XC01 Twin\n"
    "100 30 3 0 0.25 0 0 0 18C 10.0 20.0 0 0 0 0 0 0 36C 10.01 20.0 0 0 0 0 0 0\n"
    "1 50 0 0 XC01 Twin\n"
    "100 30 4 0 0.25 0 0 0 02 10.0 20.5 0 0 0 0 0 0 20 10.01 20.5 0 0 0 0 0 0\n"
    "1 200 1 0 XSHT Short Strip\n"
    "100 30 4 0 0.25 0 0 0 02 10.0 21.0 0 0 0 0 0 0 20 10.002 21.0 0 0 0 0 0 0\n"
    "16 0 0 0 SEA1 Seaplane Base\n"
    "100 30 1 0 0.25 0 0 0 02 10.0 22.0 0 0 0 0 0 0 20 10.01 22.0 0 0 0 0 0 0\n"
    "17 0 0 0 HEL1 Heliport\n"
    "1 -30 0 0 XNEG\n"
    "100 30 5 0 0.25 0 0 0 04 -10.0 179.999 0 0 0 0 0 0 22 -10.01 -179.999 0 0 0 0 0 0\n"
    "100 30 1 0 0.25 0 0 0 07 -10.0 x 0 0 0 0 0 0 25 -10.01 179.0 0 0 0 0 0 0\n"
    "99\n";

const char* const kNavDat =
    "\n"
    "810 Version - hand-made test data\n"
    "2  57.08382000  009.68009300      0   398  25    0.0 GL   AALBORG NDB\n"
    "3  57.10000000  009.99000000      0 11670 130    0.0 AAL  AALBORG VOR-DME\n"
    "4  51.4775 -0.4000 80 11030 18 269.70 IRR EGLL 27R ILS-cat-III\n"
    "4  51.4775 -0.5000 80 11050 18 89.70 IAA EGLL 09L ILS-cat-I\n"
    "6  51.4780 -0.4750 80 11050 10 300089.700 IAA EGLL 09L GS\n"
    "5  10.0 20.0 0 10990 18 180.0 IXX XXXX 09 LOC\n"
    "4  51.4775 -0.5000 80 11070 18 89.70 IAB EGLL 09L ILS-cat-II\n"
    "12 51.4775 -0.5000 80 11070 18 0.0 IAB EGLL 09L DME-ILS\n"
    "99\n";

struct Converted {
    AirportDatabase db;
    DatabaseReport report;
    Diagnostics diagnostics;
};

Converted Convert(const std::string& aptText, const std::string& navText, bool gzip = false) {
    TempFolder folder;
    const std::string apt =
        gzip ? WriteGzip(folder, "apt.dat.gz", aptText) : folder.Write("apt.dat", aptText);
    const std::string nav =
        gzip ? WriteGzip(folder, "nav.dat.gz", navText) : folder.Write("nav.dat", navText);
    Converted c;
    const AptDatContents aptContents = ReadAptDatFile(apt, c.diagnostics);
    const NavDatContents navContents = ReadNavDatFile(nav, c.diagnostics);
    c.db = BuildAirportDatabase(aptContents, navContents, DatabaseOptions{}, c.report);
    return c;
}

int FindAirport(const AirportDatabase& db, const std::string& name) {
    for (int i = 1; i <= db.AirportCount; ++i) {
        if (db.Airports[i].name == name) {
            return i;
        }
    }
    return 0;
}

TEST(DatabaseConverter, HandMadeAirports) {
    const Converted c = Convert(kAptDat, kNavDat);
    const AirportDatabase& db = c.db;
    ASSERT_EQ(db.AirportCount, 4);  // Heathrow, two Twins, XNEG
    std::set<std::string> names;
    for (int i = 1; i <= db.AirportCount; ++i) {
        EXPECT_EQ(db.Airports[i].name.find('{'), std::string::npos);
        names.insert(db.Airports[i].name);
        if (i > 1) {
            EXPECT_LE(db.Airports[i - 1].longitude, db.Airports[i].longitude);
        }
    }
    EXPECT_EQ(names.size(), 4u);

    const int egll = FindAirport(db, "London Heathrow (EGLL)");
    ASSERT_NE(egll, 0);
    const AirportRecord& a = db.Airports[egll];
    EXPECT_DOUBLE_EQ(a.latitude, (51.4775 + 51.4650) / 2.0);
    EXPECT_DOUBLE_EQ(a.longitude, (-0.4850 + -0.4330) / 2.0);
    EXPECT_EQ(a.elevation, 30);  // 100 ft = 30.48 m
    EXPECT_TRUE(a.FuelAvailable());
    EXPECT_DOUBLE_EQ(a.fuelLatitude, 51.4710);  // the first ramp start
    EXPECT_DOUBLE_EQ(a.fuelLongitude, -0.4610);
    EXPECT_EQ(a.remark, "EGLL");
    ASSERT_EQ(a.atisNumber, 1);
    const AtisRecord& atis = db.AtisStations[1];
    EXPECT_DOUBLE_EQ(atis.frequency, 128.07);
    EXPECT_DOUBLE_EQ(atis.latitude, 51.4700);  // at the tower viewpoint
    EXPECT_DOUBLE_EQ(atis.longitude, -0.4600);
    EXPECT_EQ(c.report.atis.droppedFor("another ATIS frequency of the same airport"), 1);

    // Twins: same name and code, the eastern one renamed.
    const int twin = FindAirport(db, "Twin (XC01)");
    const int twin2 = FindAirport(db, "Twin (XC01) #2");
    ASSERT_NE(twin, 0);
    ASSERT_NE(twin2, 0);
    EXPECT_LT(db.Airports[twin].longitude, db.Airports[twin2].longitude);
    EXPECT_FALSE(db.Airports[twin].FuelAvailable());  // no control tower
    EXPECT_EQ(db.Airports[twin].atisNumber, 0);

    // A name-less airport is named by its code; its runway across 180 is placed on it.
    const int neg = FindAirport(db, "XNEG (XNEG)");
    ASSERT_NE(neg, 0);
    EXPECT_EQ(db.Airports[neg].elevation, -9);  // -30 ft
    EXPECT_NEAR(std::fabs(db.Airports[neg].longitude), 180.0, 1e-9);
    EXPECT_LT(db.Airports[neg].longitude, 180.0);

    EXPECT_EQ(c.report.airports.droppedFor("seaplane base (not a land airport)"), 1);
    EXPECT_EQ(c.report.airports.droppedFor("heliport (not a land airport)"), 1);
    EXPECT_EQ(c.report.airports.droppedFor("no runway of at least the shortest length kept"), 1);
    EXPECT_EQ(c.report.runways.droppedFor("water surface"), 1);
    EXPECT_EQ(c.report.runways.droppedFor("non-numeric runway designator"), 1);
    EXPECT_EQ(c.report.runways.droppedFor("shorter than 1500 ft"), 1);

    // The malformed runway row is named by its line.
    ASSERT_EQ(c.diagnostics.malformedCount(), 1);
    EXPECT_NE(c.diagnostics.messages()[0].find("apt.dat:25: land runway (row 100) field 11 \"x\""),
              std::string::npos)
        << c.diagnostics.messages()[0];
}

TEST(DatabaseConverter, HandMadeRunwaysAndIls) {
    const Converted c = Convert(kAptDat, kNavDat);
    const AirportDatabase& db = c.db;
    const int egll = FindAirport(db, "London Heathrow (EGLL)");
    std::vector<const RunwayRecord*> runways;
    for (int r = 1; r <= db.RunwayCount; ++r) {
        if (db.Runways[r].airportNumber == egll) {
            runways.push_back(&db.Runways[r]);
        }
    }
    ASSERT_EQ(runways.size(), 2u);
    const RunwayRecord& north = *runways[0];
    EXPECT_EQ(north.codeA, 9 + 64);         // 09L
    EXPECT_EQ(north.codeB, 27 + 128);       // 27R
    EXPECT_EQ(runways[1]->codeA, 9 + 128);  // 09R
    EXPECT_EQ(runways[1]->codeB, 27 + 64);  // 27L
    EXPECT_EQ(north.surface, 2);            // asphalt
    EXPECT_EQ(runways[1]->surface, 1);      // concrete
    EXPECT_EQ(north.widthFeet, 164);        // 50 m
    const double length = GreatCircleDistance(51.4775, -0.4850, 51.4775, -0.4340);
    EXPECT_EQ(north.lengthFeet, static_cast<int>(std::nearbyint(length / 0.3048)));
    // End A's threshold lies 300 m inside the end, on the centre line; end B has none.
    EXPECT_NEAR(GreatCircleDistance(51.4775, -0.4850, north.latitudeA, north.longitudeA), 300.0,
                0.5);
    EXPECT_NEAR(north.latitudeA, 51.4775, 1e-9);
    EXPECT_GT(north.longitudeA, -0.4850);
    EXPECT_DOUBLE_EQ(north.latitudeB, 51.4775);
    EXPECT_DOUBLE_EQ(north.longitudeB, -0.4340);
    EXPECT_EQ(north.elevationA, 30);
    EXPECT_EQ(north.elevationB, 30);

    // ILS: 09L with its glide slope, 27R without; the second 09L localizer and the one of an
    // unknown airport are dropped.
    ASSERT_EQ(db.IlsCount, 2);
    ASSERT_NE(north.ilsA, 0);
    ASSERT_NE(north.ilsB, 0);
    EXPECT_EQ(runways[1]->ilsA, 0);
    EXPECT_EQ(runways[1]->ilsB, 0);
    const IlsRecord& ils09 = db.IlsStations[north.ilsA];
    EXPECT_EQ(ils09.ident, "IAA");
    EXPECT_EQ(ils09.name, "ILS-cat-I");
    EXPECT_DOUBLE_EQ(ils09.frequency, 110.5);
    EXPECT_EQ(ils09.approachHeading, 90);
    EXPECT_EQ(ils09.rangeKm, 34);  // 18 nm, rounded up so the window shows 18 again
    EXPECT_EQ(static_cast<int>(ils09.rangeKm / 1.852), 18);
    EXPECT_DOUBLE_EQ(ils09.glideSlopeLatitude, 51.4780);
    EXPECT_DOUBLE_EQ(ils09.glideSlopeLongitude, -0.4750);
    EXPECT_NEAR(ils09.glideSlopeAltitude, 24.384, 1e-9);
    const IlsRecord& ils27 = db.IlsStations[north.ilsB];
    EXPECT_EQ(ils27.ident, "IRR");
    EXPECT_EQ(ils27.approachHeading, 270);
    EXPECT_EQ(ils27.glideSlopeLatitude, 0.0);
    EXPECT_EQ(c.report.ils.droppedFor("the runway end already has an ILS"), 1);
    EXPECT_EQ(c.report.ils.droppedFor("no kept runway end of that airport and designator"), 1);

    // Centre runways: 18C and 36C.
    const int twin = FindAirport(db, "Twin (XC01)");
    for (int r = 1; r <= db.RunwayCount; ++r) {
        if (db.Runways[r].airportNumber == twin) {
            EXPECT_EQ(db.Runways[r].codeA, 18 + 192);
            EXPECT_EQ(db.Runways[r].codeB, 36 + 192);
            EXPECT_EQ(db.Runways[r].surface, 0);  // grass
        }
    }
}

TEST(DatabaseConverter, BeaconsAndIndexes) {
    const Converted c = Convert(kAptDat, kNavDat);
    const AirportDatabase& db = c.db;
    ASSERT_EQ(db.VorCount, 1);
    ASSERT_EQ(db.NdbCount, 1);
    EXPECT_EQ("VOR - " + db.Vors[1].label1 + " - " + db.Vors[1].label2,
              "VOR - AALBORG - AAL 116.70");
    EXPECT_EQ("NDB - " + db.Ndbs[1].label1 + " - " + db.Ndbs[1].label2, "NDB - AALBORG - GL 398");
    EXPECT_EQ(db.VorLonIndex[0], 1);
    EXPECT_EQ(db.VorLonIndex[1800], 1);
    EXPECT_EQ(db.AirportLonIndex[0], 1);
    EXPECT_EQ(db.AirportLonIndex[1800], db.AirportCount);
    // The database is one the loader accepts, unchanged.
    const AirportDatabase read = ReadAirportDatabase(WriteAirportDatabase(db, "t"), "t");
    EXPECT_TRUE(read == db);
}

TEST(DatabaseConverter, GzipInputGivesTheSameDatabase) {
    EXPECT_TRUE(Convert(kAptDat, kNavDat, true).db == Convert(kAptDat, kNavDat, false).db);
}

TEST(DatabaseConverter, Version1100Layouts) {
    const std::string apt =
        "I\n1100 Version\n"
        "1 10 1 0 ABCD Caf\xC3\xA9 Airport\n"
        "100 30 1 0 0.25 0 0 0 01 0.0 10.0 0 0 0 0 0 0 19 0.01 10.0 0 0 0 0 0 0\n"
        "1300 0.005 10.001 0 gate jets Stand 1\n"
        "1 10 0 0 ABCE Zweibr\xFC"
        "cken\n"
        "100 30 1 0 0.25 0 0 0 01 0.0 11.0 0 0 0 0 0 0 19 0.01 11.0 0 0 0 0 0 0\n"
        "99\n";
    const std::string nav =
        "I\n1100 Version\n"
        "2 0.0 10.0 0 415.5 50 0.0 ABC ENRT XX SOMEWHERE NDB\n"
        "3 0.0 10.0 0 11300 130 0.0 ABD ENRT XX SOMEWHERE VORTAC\n"
        "4 0.0 10.0 0 11010 18 0.0 IAB ABCD XX 01 ILS-cat-I\n"
        "6 0.0 10.0 0 11010 10 300000.000 IAB ABCD XX 01 GS\n"
        "99\n";
    const Converted c = Convert(apt, nav);
    ASSERT_EQ(c.db.AirportCount, 2);
    EXPECT_EQ(c.db.Airports[1].name, "Caf\xE9 Airport (ABCD)");  // UTF-8 to code page 1252
    EXPECT_EQ(c.db.Airports[2].name,
              "Zweibr\xFC"
              "cken (ABCE)");                                // already one byte each
    EXPECT_DOUBLE_EQ(c.db.Airports[1].fuelLatitude, 0.005);  // start position of row 1300
    EXPECT_EQ(c.db.Ndbs[1].label2, "ABC 415.5");
    EXPECT_EQ(c.db.Vors[1].label1, "SOMEWHERE");
    EXPECT_EQ(c.db.Vors[1].label2, "ABD 113.00");
    ASSERT_EQ(c.db.IlsCount, 1);
    EXPECT_EQ(c.db.Runways[1].ilsA, 1);
    EXPECT_EQ(c.diagnostics.malformedCount(), 0);
}

TEST(DatabaseConverter, RunwayLimitIsRaisedUntilTheCountsFit) {
    // 32767 airports with one runway each, 1500 ft and longer by one foot each step of
    // 1000: the rule raises the shortest runway kept in 100 ft steps until 32766 fit.
    AptDatContents apt;
    apt.version = 1000;
    for (int i = 0; i < 32767; ++i) {
        SourceAirport a;
        a.icao = "X" + std::to_string(i);
        a.name = "A";
        a.line = i + 1;
        SourceRunway r;
        r.widthMetres = 30;
        r.surface = 1;
        const double lengthDegrees = (1500.0 + (i % 2 == 0 ? 0.0 : 150.0)) * 0.3048 / 111130.555;
        const double lon = -170.0 + i * 0.01;
        r.ends[0] = SourceRunwayEnd{"09", GeoPoint{0.0, lon}, 0.0};
        r.ends[1] = SourceRunwayEnd{"27", GeoPoint{0.0, lon + lengthDegrees + 1e-6}, 0.0};
        a.runways.push_back(r);
        apt.airports.push_back(a);
    }
    DatabaseReport report;
    const AirportDatabase db =
        BuildAirportDatabase(apt, NavDatContents{}, DatabaseOptions{}, report);
    EXPECT_EQ(report.minRunwayFeet, 1600.0);
    EXPECT_EQ(db.AirportCount, 16383);
    EXPECT_EQ(db.RunwayCount, 16383);
}

std::string ConversionErrorOf(const std::string& aptText, bool strict = false,
                              bool gzipCut = false) {
    TempFolder folder;
    std::string path = folder.Write("apt.dat", aptText);
    if (gzipCut) {
        WriteGzip(folder, "full.gz", aptText);
        std::ifstream in(folder.Path("full.gz"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        path = folder.Write("cut.gz", bytes.substr(0, bytes.size() / 2));
    }
    Diagnostics diagnostics(strict);
    try {
        ReadAptDatFile(path, diagnostics);
    } catch (const ConversionError& e) {
        return e.what();
    }
    return "";
}

TEST(DatabaseConverter, ClearErrors) {
    EXPECT_NE(ConversionErrorOf("I\n850 Version\n99\n")
                  .find("apt.dat:2: apt.dat version 850 is not supported"),
              std::string::npos);
    EXPECT_NE(
        ConversionErrorOf("{\"type\": \"Topology\"}\n").find("apt.dat:1: not a valid apt.dat file"),
        std::string::npos);
    EXPECT_NE(ConversionErrorOf("").find("has no version line"), std::string::npos);
    EXPECT_NE(ConversionErrorOf(kAptDat, true).find("apt.dat:25: land runway (row 100)"),
              std::string::npos);
    EXPECT_EQ(ConversionErrorOf(kAptDat, false), "");
    std::string big = "I\n1000 Version\n";
    for (int i = 0; i < 20000; ++i) {
        big += "1 10 0 0 X" + std::to_string(i) + " Some airport name that repeats\n";
    }
    EXPECT_NE(ConversionErrorOf(big, false, true).find("cut short"), std::string::npos);
    TempFolder folder;
    Diagnostics diagnostics;
    EXPECT_THROW(ReadAptDatFile(folder.Path("missing.dat"), diagnostics), ConversionError);
}

TEST(DatabaseConverter, RunwaySurfaceCodesOutsideTheirRangeAreMalformedRows) {
    // A surface field too large for a code (found by fuzzing: 6.7e78 was converted
    // to an int), negative, or 1000 and over is a malformed row, named by its line.
    const char* const surfaces[] = {
        "6666666666666666666666666666666666666666666666666666666666666666666666666666666", "1e10",
        "-1", "-0.5", "1000"};
    for (const char* surface : surfaces) {
        const std::string apt = std::string("I\n1000 Version\n1 100 1 0 EGLL London\n") +
                                "100 30.48 " + surface +
                                " 0 0.25 0 2 0 11L 51.47 -0.48 0 0 2 0 0 1 29R 51.47 -0.43 0 0 3 "
                                "8 0 0\n99\n";
        TempFolder folder;
        Diagnostics diagnostics;
        (void)ReadAptDatFile(folder.Write("apt.dat", apt), diagnostics);
        ASSERT_EQ(diagnostics.malformedCount(), 1) << surface;
        EXPECT_NE(
            diagnostics.messages()[0].find("apt.dat:4: land runway (row 100) has a surface code"),
            std::string::npos)
            << diagnostics.messages()[0];
    }
}

TEST(DatabaseConverter, RandomRowsNeverBreakTheConversion) {
    // Rows with random codes and random fields: every malformed one is noted, and whatever is
    // kept makes a database the loader accepts.
    std::mt19937 random(23);
    const char* const tokens[] = {"1",    "100",       "14",   "15",  "50", "16",    "17",
                                  "101",  "99x",       "09L",  "27R", "-",  "1e400", "nan",
                                  "45.5", "-179.9999", "180",  "200", "0",  "12807", "EGLL",
                                  "Name", "{",         "\xFF", "36C", "3"};
    const int tokenCount = static_cast<int>(sizeof tokens / sizeof tokens[0]);
    std::string apt = "I\n1000 Version\n";
    std::string nav = "I\n810 Version\n";
    for (int line = 0; line < 4000; ++line) {
        std::string row;
        const int fields = static_cast<int>(random() % 30);
        for (int f = 0; f < fields; ++f) {
            row += tokens[random() % tokenCount];
            row += ' ';
        }
        apt += row + "\n";
        nav += (line % 2 == 0 ? "4 " : "6 ") + row + "\n";
    }
    const Converted c = Convert(apt, nav);
    EXPECT_GT(c.diagnostics.malformedCount(), 0);
    EXPECT_NO_THROW(ReadAirportDatabase(WriteAirportDatabase(c.db, "fuzz.tri"), "fuzz.tri"));
}

TEST(TextRules, RunwayCodesAndAnsiText) {
    EXPECT_EQ(RunwayCodeOfDesignator("09L"), 73);
    EXPECT_EQ(RunwayCodeOfDesignator("9"), 9);
    EXPECT_EQ(RunwayCodeOfDesignator("27R"), 155);
    EXPECT_EQ(RunwayCodeOfDesignator("36C"), 228);
    EXPECT_EQ(RunwayCodeOfDesignator("08T"), -1);
    EXPECT_EQ(RunwayCodeOfDesignator("N"), -1);
    EXPECT_EQ(RunwayCodeOfDesignator("H1"), -1);
    EXPECT_EQ(RunwayCodeOfDesignator("37"), -1);
    EXPECT_EQ(RunwayCodeOfDesignator("00"), -1);
    EXPECT_EQ(RunwayCodeOfDesignator("123"), -1);
    EXPECT_EQ(ToAnsiText("  a \t b  "), "a b");
    EXPECT_EQ(ToAnsiText("\xE2\x82\xAC 5"), "\x80 5");  // euro sign
    EXPECT_EQ(ToAnsiText("\xE4\xB8\xAD"), "?");         // no code page 1252 byte
    EXPECT_EQ(ToAnsiText("Gen\xE8ve"), "Gen\xE8ve");    // not UTF-8: kept
}

}  // namespace
}  // namespace corvane::navdata::convert
