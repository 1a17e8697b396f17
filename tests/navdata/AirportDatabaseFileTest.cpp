// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "navdata/AirportDatabaseFile.h"
#include "navdata/NavDataError.h"
#include "navdata/TextKey.h"

namespace corvane::navdata {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Empty header texts (255 x 2), six counts (12), three indexes (3 x 3602).
constexpr std::size_t kEmptyFileSize = 510 + 12 + 3 * 3602;

std::string AllBytes() {
    std::string text;
    for (int i = 0; i < 256; ++i) {
        text.push_back(static_cast<char>(i));
    }
    return text;
}

// A database with one or two records of every kind, with boundary values in every field.
AirportDatabase SampleDatabase() {
    AirportDatabase db;
    db.headerTexts.assign(HeaderTextCount, "");
    db.headerTexts[0] = "sample";
    db.headerTexts[254] = "last";

    db.AirportCount = 2;
    db.Airports.assign(4, AirportRecord{});
    db.Airports[1] = AirportRecord{
        -32768, "London Heathrow (EGLL)", 51.4775, -0.4614, 25, -1, 51.47, -0.45, "EGLL", 1};
    db.Airports[2] = AirportRecord{
        32767, AllBytes(), -90.0, 179.999999, -32768, 0, std::numeric_limits<double>::max(),
        -0.0,  "",         0};

    db.RunwayCount = 1;
    db.Runways.assign(3, RunwayRecord{});
    db.Runways[1] = RunwayRecord{7,       1,      73,  155,   51.4775, -0.4850, 25, 51.4650,
                                 -0.4340, -32768, 255, 12802, 164,     1,       0};

    db.AtisCount = 1;
    db.AtisStations.assign(3, AtisRecord{});
    db.AtisStations[1] = AtisRecord{1, 128.075, 51.47, -0.46, 1e300, -1, "ATIS", "EGLL", "", "x"};

    db.IlsCount = 1;
    db.IlsStations.assign(3, IlsRecord{});
    db.IlsStations[1] =
        IlsRecord{2, "ILS-cat-III", "ILL", 110.3, 0.5, -0.5, 270, 255, 51.46, -0.43, 24.384};

    db.VorCount = 1;
    db.Vors.assign(3, VorRecord{});
    db.Vors[1] = VorRecord{
        3, "AALBORG", "AAL 116.70", 57.1, 9.99, {1, 2}, {3, 4, 5, 6, 7, 8, 9, 10, 11}, {12, 13}};

    db.NdbCount = 2;
    db.Ndbs.assign(4, NdbRecord{});
    db.Ndbs[1] =
        NdbRecord{4, "AALBORG", "GL 398", 57.08, 9.68, {1, 2}, {3}, {4, 5, 6, 7, 8, 9, 10, 11}};
    db.Ndbs[2] = NdbRecord{5, "", "", 0.0, 0.0, {}, {}, {}};

    for (int k = 0; k < LonIndexSize; ++k) {
        db.AirportLonIndex[k] = static_cast<std::int16_t>(k < 900 ? 1 : 2);
        db.VorLonIndex[k] = 1;
        db.NdbLonIndex[k] = static_cast<std::int16_t>(k == 1800 ? 3 : 0);  // count + 1 allowed
    }
    return db;
}

TEST(AirportDatabaseFile, RoundTripOfEveryRecordKind) {
    const AirportDatabase db = SampleDatabase();
    const Bytes bytes = WriteAirportDatabase(db, "sample.tri");
    const AirportDatabase read = ReadAirportDatabase(bytes, "sample.tri");
    EXPECT_EQ(read.headerTexts, db.headerTexts);
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(read.Airports[i], db.Airports[i]) << "airport " << i;
    }
    EXPECT_EQ(read.Runways, db.Runways);
    EXPECT_EQ(read.AtisStations, db.AtisStations);
    EXPECT_EQ(read.IlsStations, db.IlsStations);
    EXPECT_EQ(read.Vors, db.Vors);
    EXPECT_EQ(read.Ndbs, db.Ndbs);
    EXPECT_EQ(read.AirportLonIndex, db.AirportLonIndex);
    EXPECT_EQ(read.NdbLonIndex, db.NdbLonIndex);
    EXPECT_TRUE(read == db);
    EXPECT_TRUE(read.Airports[1].FuelAvailable());
    EXPECT_FALSE(read.Airports[2].FuelAvailable());
}

TEST(AirportDatabaseFile, ByteLayout) {
    const AirportDatabase empty;
    const Bytes emptyBytes = WriteAirportDatabase(empty, "empty.tri");
    ASSERT_EQ(emptyBytes.size(), kEmptyFileSize);

    // One airport adds 40 bytes plus its two texts; its name is stored scrambled.
    AirportDatabase db;
    db.AirportCount = 1;
    db.Airports.assign(3, AirportRecord{});
    db.Airports[1].tag = 0x1234;
    db.Airports[1].name = "Abc";
    db.Airports[1].latitude = 1.0;
    db.Airports[1].remark = "xy";
    db.Airports[1].atisNumber = 0;
    const Bytes bytes = WriteAirportDatabase(db, "one.tri");
    ASSERT_EQ(bytes.size(), kEmptyFileSize + 40 + 3 + 2 + 2 + 2);
    std::size_t at = 510;
    EXPECT_EQ(bytes[at], 1);  // airport count, little-endian
    EXPECT_EQ(bytes[at + 1], 0);
    at += 2;
    EXPECT_EQ(bytes[at], 0x34);  // tag
    EXPECT_EQ(bytes[at + 1], 0x12);
    at += 2;
    EXPECT_EQ(bytes[at], 3);  // name length
    EXPECT_EQ(bytes[at + 1], 0);
    const std::string stored(bytes.begin() + static_cast<long>(at) + 2,
                             bytes.begin() + static_cast<long>(at) + 5);
    EXPECT_EQ(stored, UnscrambleText("Abc"));
    at += 5;
    // latitude 1.0 = 0x3FF0000000000000, low byte first
    const Bytes one = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    EXPECT_TRUE(std::equal(one.begin(), one.end(), bytes.begin() + static_cast<long>(at)));
}

TEST(AirportDatabaseFile, EmptyDatabaseLoadsWithOnlyTheEmptyElements) {
    const AirportDatabase db =
        ReadAirportDatabase(WriteAirportDatabase(AirportDatabase{}, "e"), "e");
    EXPECT_EQ(db.AirportCount, 0);
    EXPECT_EQ(db.Airports.size(), 2u);
    EXPECT_EQ(db.Runways.size(), 2u);
    EXPECT_EQ(db.AtisStations.size(), 2u);
    EXPECT_EQ(db.IlsStations.size(), 2u);
    EXPECT_EQ(db.Vors.size(), 2u);
    EXPECT_EQ(db.Ndbs.size(), 2u);
    EXPECT_EQ(db.Airports[1].name, "");
}

NavDataError ReadError(const Bytes& bytes) {
    try {
        ReadAirportDatabase(bytes, "bad.tri");
    } catch (const NavDataError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return NavDataError("", "", 0, "");
}

TEST(AirportDatabaseFile, EveryTruncationIsAnErrorNamingTheSection) {
    const Bytes bytes = WriteAirportDatabase(SampleDatabase(), "sample.tri");
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const Bytes cut(bytes.begin(), bytes.begin() + static_cast<long>(length));
        const NavDataError e = ReadError(cut);
        EXPECT_EQ(e.file(), "bad.tri");
        EXPECT_NE(e.message().find("ends early"), std::string::npos) << e.what();
    }
    // A cut inside the second airport (after 520 bytes of header, the count and the first
    // airport's 40 + 2 + 22 + 2 + 4 bytes) names the airports and record 2.
    const Bytes cut(bytes.begin(), bytes.begin() + 520 + 2 + 70 + 10);
    const NavDataError e = ReadError(cut);
    EXPECT_EQ(e.section(), "airports");
    EXPECT_EQ(e.record(), 2);
    EXPECT_NE(std::string(e.what()).find("bad.tri: airports, record 2: the file ends early"),
              std::string::npos)
        << e.what();
    // Just before the NDB index ends.
    const Bytes late(bytes.begin(), bytes.end() - 1);
    EXPECT_EQ(ReadError(late).section(), "NDB index");
}

void PutI16(Bytes& bytes, std::size_t at, std::int16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8);
}

TEST(AirportDatabaseFile, CountsOutsideTheModelAreErrors) {
    Bytes bytes = WriteAirportDatabase(AirportDatabase{}, "e");
    const std::size_t airportCount = 510;
    const struct {
        std::int16_t count;
        const char* words;
    } cases[] = {{-1, "negative"}, {-25536, "negative"}, {32767, "beyond the limit of 32766"}};
    for (const auto& c : cases) {
        PutI16(bytes, airportCount, c.count);
        const NavDataError e = ReadError(bytes);
        EXPECT_EQ(e.section(), "airport count");
        EXPECT_NE(e.message().find(c.words), std::string::npos) << e.what();
    }
    // The ILS count sits after three empty lists.
    Bytes ils = WriteAirportDatabase(AirportDatabase{}, "e");
    PutI16(ils, 510 + 6, -7);
    EXPECT_EQ(ReadError(ils).section(), "ILS count");
}

TEST(AirportDatabaseFile, ReferencesBeyondTheirListsAreErrors) {
    struct Case {
        const char* name;
        void (*damage)(AirportDatabase&);
        const char* section;
        long record;
    };
    const Case cases[] = {
        {"runway's airport", [](AirportDatabase& db) { db.Runways[1].airportNumber = 3; },
         "runways", 1},
        {"negative airport", [](AirportDatabase& db) { db.Runways[1].airportNumber = -1; },
         "runways", 1},
        {"ilsA", [](AirportDatabase& db) { db.Runways[1].ilsA = 2; }, "runways", 1},
        {"ilsB", [](AirportDatabase& db) { db.Runways[1].ilsB = -3; }, "runways", 1},
        {"ATIS", [](AirportDatabase& db) { db.Airports[2].atisNumber = 2; }, "airports", 2},
        {"airport index", [](AirportDatabase& db) { db.AirportLonIndex[5] = 4; }, "airport index",
         0},
        {"VOR index", [](AirportDatabase& db) { db.VorLonIndex[1800] = -1; }, "VOR index", 0},
    };
    for (const Case& c : cases) {
        // Lay the bytes out undamaged, then damage the record in the bytes by rewriting it from
        // a damaged copy: the writer refuses to write a damaged database itself.
        AirportDatabase damaged = SampleDatabase();
        c.damage(damaged);
        EXPECT_THROW(WriteAirportDatabase(damaged, "w"), NavDataError) << c.name;
        try {
            CheckAirportDatabaseReferences(damaged, "bad.tri");
            ADD_FAILURE() << c.name;
        } catch (const NavDataError& e) {
            EXPECT_EQ(e.section(), c.section) << c.name;
            EXPECT_EQ(e.record(), c.record) << c.name;
        }
    }
    // And the reader checks the bytes: ilsA of runway 1 set to 9 in the file itself. Header
    // (255 lengths and 10 bytes of text),
    // airport count, airport 1 (40 + 2 + 22 + 2 + 4 bytes), airport 2 (40 + 2 + 256 + 2 bytes),
    // runway count,
    // then ilsA 47 bytes into the runway.
    Bytes bytes = WriteAirportDatabase(SampleDatabase(), "w");
    const std::size_t ilsA = 520 + 2 + 70 + 300 + 2 + 47;
    ASSERT_EQ(bytes[ilsA], 1);
    PutI16(bytes, ilsA, 9);
    const NavDataError e = ReadError(bytes);
    EXPECT_EQ(e.section(), "runways");
    EXPECT_EQ(e.record(), 1);
    EXPECT_NE(e.message().find("ilsA 9"), std::string::npos) << e.what();
}

TEST(AirportDatabaseFile, DamagedBytesGiveTheErrorOrAValidDatabase) {
    // Random damage anywhere: the reader either returns a database whose references hold or
    // raises NavDataError; it never reads out of bounds (the sanitizer build checks that).
    const Bytes good = WriteAirportDatabase(SampleDatabase(), "sample.tri");
    std::mt19937 random(17);
    for (int trial = 0; trial < 3000; ++trial) {
        Bytes bytes = good;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; ++f) {
            bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
        }
        try {
            const AirportDatabase db = ReadAirportDatabase(bytes, "damaged.tri");
            ASSERT_EQ(db.Airports.size(), static_cast<std::size_t>(db.AirportCount) + 2);
            CheckAirportDatabaseReferences(db, "damaged.tri");
        } catch (const NavDataError& e) {
            ASSERT_EQ(e.file(), "damaged.tri");
        }
    }
}

TEST(AirportDatabaseFile, WriterRefusesCountsThatDoNotMatch) {
    AirportDatabase db;
    db.AirportCount = 1;  // but only the two empty elements
    EXPECT_THROW(WriteAirportDatabase(db, "w"), NavDataError);
    AirportDatabase longText;
    longText.headerTexts.assign(1, std::string(70000, 'x'));
    EXPECT_THROW(WriteAirportDatabase(longText, "w"), NavDataError);
}

TEST(AirportDatabaseFile, MissingFileNamesTheFile) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "no-such-dir-corvane" / "airdata.tri").string();
    try {
        LoadAirportDatabase(path);
        FAIL() << "no error";
    } catch (const NavDataError& e) {
        EXPECT_EQ(e.file(), path);
        EXPECT_NE(std::string(e.what()).find("cannot open"), std::string::npos) << e.what();
    }
}

TEST(AirportDatabaseFile, SaveAndLoadThroughAFile) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("navdata-test-" + std::to_string(::getpid()) + ".tri"))
                                 .string();
    const AirportDatabase db = SampleDatabase();
    SaveAirportDatabase(db, path);
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    EXPECT_TRUE(LoadAirportDatabase(path) == db);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace corvane::navdata
