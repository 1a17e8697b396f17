// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "navdata/CoastlineFile.h"
#include "navdata/NavDataError.h"

namespace corvane::navdata {
namespace {

using Bytes = std::vector<std::uint8_t>;

CoastFileContents Sample() {
    CoastFileContents c;
    c.points = {{16384, -16384}, {0, 1}, {100, 200}, {0, 0}, {-32768, 32767}, {5, 5}, {0, 0}};
    c.blocks = {{1, 0, 16384, -16384, 200}, {5, -32768, 5, 5, 32767}};
    return c;
}

NavDataError ReadError(const Bytes& bytes) {
    try {
        ReadCoastlines(bytes, "bad.int");
    } catch (const NavDataError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return NavDataError("", "", 0, "");
}

TEST(CoastlineFile, ValuesInMemory) {
    const CoastlineData data = ReadCoastlines(WriteCoastFile(Sample(), "s"), "s");
    EXPECT_EQ(data.CoastPointCount, 7);
    EXPECT_EQ(data.CoastBlockCount, 2);
    EXPECT_EQ(data.CoastLatitude[1], 45.0f);    // 16384 units of latitude
    EXPECT_EQ(data.CoastLongitude[1], -90.0f);  // -16384 units of longitude
    EXPECT_EQ(data.CoastLatitude[2], 0.0f);     // (0, 1) is a real point
    EXPECT_EQ(data.CoastLongitude[2], static_cast<float>(360.0 / 65536.0));
    EXPECT_EQ(data.CoastLatitude[4], CoastBreak);  // raw (0, 0) is a break marker
    EXPECT_EQ(data.CoastLongitude[4], CoastBreak);
    EXPECT_EQ(data.CoastLatitude[5], -90.0f);
    EXPECT_EQ(data.CoastLongitude[5], static_cast<float>(32767 * 360.0 / 65536.0));
    EXPECT_EQ(data.CoastLatitude[0], 0.0f);  // entry 0 stays empty
    // Every entry after the points holds the marker, so a walk always ends in the arrays.
    ASSERT_EQ(data.CoastLatitude.size(), static_cast<std::size_t>(CoastPointLimit + 2));
    for (std::size_t i = 8; i < data.CoastLatitude.size(); ++i) {
        ASSERT_EQ(data.CoastLatitude[i], CoastBreak) << i;
        ASSERT_EQ(data.CoastLongitude[i], CoastBreak) << i;
    }
    EXPECT_EQ(data.CoastBlocks[1].firstPoint, 1);
    EXPECT_DOUBLE_EQ(data.CoastBlocks[1].maxLatitude, 45.0);
    EXPECT_DOUBLE_EQ(data.CoastBlocks[1].minLongitude, -90.0);
    EXPECT_DOUBLE_EQ(data.CoastBlocks[2].minLatitude, -90.0);
    EXPECT_EQ(data.CoastBlocks[2].firstPoint, 5);
}

TEST(CoastlineFile, RoundTripAndLayout) {
    const CoastFileContents sample = Sample();
    const Bytes bytes = WriteCoastFile(sample, "s");
    ASSERT_EQ(bytes.size(), 4u + 7 * 4 + 2 + 2 * 12);
    EXPECT_EQ(bytes[0], 7);  // i32 point count, little-endian
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[4], 0x00);  // 16384 = 0x4000
    EXPECT_EQ(bytes[5], 0x40);
    EXPECT_EQ(bytes[6], 0x00);  // -16384 = 0xC000
    EXPECT_EQ(bytes[7], 0xC0);
    EXPECT_EQ(ReadCoastFileContents(bytes, "s"), sample);
}

TEST(CoastlineFile, EmptyFileLoads) {
    const Bytes bytes = {0, 0, 0, 0, 0, 0};
    const CoastlineData data = ReadCoastlines(bytes, "empty.int");
    EXPECT_EQ(data.CoastPointCount, 0);
    EXPECT_EQ(data.CoastBlockCount, 0);
    EXPECT_EQ(data.CoastLatitude[1], CoastBreak);
}

TEST(CoastlineFile, DamagedFilesAreErrors) {
    const Bytes good = WriteCoastFile(Sample(), "s");
    for (std::size_t length = 0; length < good.size(); ++length) {
        const NavDataError e =
            ReadError(Bytes(good.begin(), good.begin() + static_cast<long>(length)));
        EXPECT_NE(e.message().find("ends early"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadError(Bytes(good.begin(), good.begin() + 10)).section(), "points");
    EXPECT_EQ(ReadError(Bytes(good.begin(), good.begin() + 10)).record(), 2);

    struct Case {
        const char* name;
        CoastFileContents contents;
        const char* section;
        const char* words;
    };
    CoastFileContents tooManyPoints;
    tooManyPoints.points.assign(CoastPointLimit + 1, CoastRawPoint{1, 1});
    CoastFileContents tooManyBlocks;
    tooManyBlocks.points.assign(1, CoastRawPoint{1, 1});
    tooManyBlocks.blocks.assign(CoastBlockLimit + 1, CoastRawBlock{1, 0, 0, 0, 0});
    CoastFileContents firstPointZero = Sample();
    firstPointZero.blocks[0].firstPoint = 0;
    CoastFileContents firstPointPastTheEnd = Sample();
    firstPointPastTheEnd.blocks[1].firstPoint = 8;
    const Case cases[] = {
        {"81501 points", tooManyPoints, "point count", "beyond the limit of 81500"},
        {"1001 blocks", tooManyBlocks, "block count", "beyond the limit of 1000"},
        {"first point 0", firstPointZero, "blocks", "not one of the points"},
        {"first point past the end", firstPointPastTheEnd, "blocks", "not one of the points"},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(WriteCoastFile(c.contents, "w"), NavDataError) << c.name;
        // Lay the bytes out by hand, as a damaged file would hold them.
        Bytes bytes;
        auto put = [&](std::uint32_t v, int size) {
            for (int i = 0; i < size; ++i) {
                bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
            }
        };
        put(static_cast<std::uint32_t>(c.contents.points.size()), 4);
        for (const CoastRawPoint& p : c.contents.points) {
            put(static_cast<std::uint16_t>(p.latitude), 2);
            put(static_cast<std::uint16_t>(p.longitude), 2);
        }
        put(static_cast<std::uint32_t>(c.contents.blocks.size()), 2);
        for (const CoastRawBlock& b : c.contents.blocks) {
            put(static_cast<std::uint32_t>(b.firstPoint), 4);
            put(static_cast<std::uint16_t>(b.minLatitude), 2);
            put(static_cast<std::uint16_t>(b.maxLatitude), 2);
            put(static_cast<std::uint16_t>(b.minLongitude), 2);
            put(static_cast<std::uint16_t>(b.maxLongitude), 2);
        }
        const NavDataError e = ReadError(bytes);
        EXPECT_EQ(e.section(), c.section) << c.name;
        EXPECT_NE(e.message().find(c.words), std::string::npos) << c.name << ": " << e.what();
    }
    // Negative counts.
    EXPECT_NE(ReadError(Bytes{0xFF, 0xFF, 0xFF, 0xFF}).message().find("negative"),
              std::string::npos);
    EXPECT_EQ(ReadError(Bytes{0, 0, 0, 0, 0xFE, 0xFF}).section(), "block count");
}

}  // namespace
}  // namespace corvane::navdata
