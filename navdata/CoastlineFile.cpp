// SPDX-License-Identifier: MIT
#include "navdata/CoastlineFile.h"

#include "navdata/ByteReader.h"
#include "navdata/ByteWriter.h"
#include "navdata/DataFile.h"
#include "navdata/NavDataError.h"

namespace corvane::navdata {

namespace {

// The layout of COAST2.int, used both to read and to write it (little-endian, no padding):
//   i32 N, then N points (i16 latitude, i16 longitude),
//   i16 M, then M blocks (i32 firstPoint, i16 minLatitude, maxLatitude, minLongitude,
//   maxLongitude).
template <class Io, class Contents>
void DescribeCoastFile(Io& io, Contents& c) {
    io.List32("point count", "points", c.points, CoastPointLimit, [](Io& i, auto& p) {
        i.I16(p.latitude);
        i.I16(p.longitude);
    });
    io.List16("block count", "blocks", c.blocks, CoastBlockLimit, [](Io& i, auto& b) {
        i.I32(b.firstPoint);
        i.I16(b.minLatitude);
        i.I16(b.maxLatitude);
        i.I16(b.minLongitude);
        i.I16(b.maxLongitude);
    });
}

class ReaderIo {
  public:
    explicit ReaderIo(ByteReader& reader) : in_(reader) {}

    void I16(std::int16_t& v) { v = in_.I16(); }
    void I32(std::int32_t& v) { v = in_.I32(); }
    template <class Item, class Describe>
    void List32(const char* countSection, const char* section, std::vector<Item>& items, int limit,
                Describe describe) {
        in_.SetSection(countSection);
        ReadItems(in_.I32(), section, items, limit, describe);
    }
    template <class Item, class Describe>
    void List16(const char* countSection, const char* section, std::vector<Item>& items, int limit,
                Describe describe) {
        in_.SetSection(countSection);
        ReadItems(in_.I16(), section, items, limit, describe);
    }

  private:
    template <class Item, class Describe>
    void ReadItems(long count, const char* section, std::vector<Item>& items, int limit,
                   Describe describe) {
        if (count < 0) {
            in_.Fail("the count " + std::to_string(count) + " is negative");
        }
        if (count > limit) {
            in_.Fail("the count " + std::to_string(count) + " is beyond the limit of " +
                     std::to_string(limit));
        }
        items.assign(static_cast<std::size_t>(count), Item{});
        in_.SetSection(section);
        for (long i = 0; i < count; ++i) {
            in_.SetRecord(i + 1);
            describe(*this, items[static_cast<std::size_t>(i)]);
        }
    }

    ByteReader& in_;
};

class WriterIo {
  public:
    explicit WriterIo(ByteWriter& writer) : out_(writer) {}

    void I16(std::int16_t v) { out_.I16(v); }
    void I32(std::int32_t v) { out_.I32(v); }
    template <class Item, class Describe>
    void List32(const char* countSection, const char* section, const std::vector<Item>& items,
                int limit, Describe describe) {
        out_.SetSection(countSection);
        CheckCount(items.size(), limit);
        out_.I32(static_cast<std::int32_t>(items.size()));
        WriteItems(section, items, describe);
    }
    template <class Item, class Describe>
    void List16(const char* countSection, const char* section, const std::vector<Item>& items,
                int limit, Describe describe) {
        out_.SetSection(countSection);
        CheckCount(items.size(), limit);
        out_.I16(static_cast<std::int16_t>(items.size()));
        WriteItems(section, items, describe);
    }

  private:
    void CheckCount(std::size_t count, int limit) {
        if (count > static_cast<std::size_t>(limit)) {
            out_.Fail("the count " + std::to_string(count) + " is beyond the limit of " +
                      std::to_string(limit));
        }
    }
    template <class Item, class Describe>
    void WriteItems(const char* section, const std::vector<Item>& items, Describe describe) {
        out_.SetSection(section);
        for (std::size_t i = 0; i < items.size(); ++i) {
            out_.SetRecord(static_cast<long>(i) + 1);
            describe(*this, items[i]);
        }
    }

    ByteWriter& out_;
};

void CheckBlocks(const CoastFileContents& contents, const std::string& fileName) {
    const long pointCount = static_cast<long>(contents.points.size());
    for (std::size_t j = 0; j < contents.blocks.size(); ++j) {
        const std::int32_t first = contents.blocks[j].firstPoint;
        if (first < 1 || first > pointCount) {
            throw NavDataError(fileName, "blocks", static_cast<long>(j) + 1,
                               "the first point " + std::to_string(first) +
                                   " is not one of the points 1 to " + std::to_string(pointCount));
        }
    }
}

}  // namespace

CoastFileContents ReadCoastFileContents(std::span<const std::uint8_t> bytes,
                                        const std::string& fileName) {
    CoastFileContents contents;
    ByteReader reader(bytes, fileName);
    ReaderIo io(reader);
    DescribeCoastFile(io, contents);
    CheckBlocks(contents, fileName);
    return contents;
}

CoastlineData ToCoastlineData(const CoastFileContents& contents) {
    CoastlineData data;
    FillCoastlineData(contents, data);
    return data;
}

void FillCoastlineData(const CoastFileContents& contents, CoastlineData& data) {
    const double latitudeScale = CoastLatitudeScale;
    const double longitudeScale = CoastLongitudeScale;
    const std::size_t n = contents.points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const float lat = static_cast<float>(contents.points[i].latitude / latitudeScale);
        const float lon = static_cast<float>(contents.points[i].longitude / longitudeScale);
        if (lat == 0.0f && lon == 0.0f) {
            data.CoastLatitude[i + 1] = CoastBreak;
            data.CoastLongitude[i + 1] = CoastBreak;
        } else {
            data.CoastLatitude[i + 1] = lat;
            data.CoastLongitude[i + 1] = lon;
        }
    }
    data.CoastPointCount = static_cast<std::int32_t>(n);
    data.CoastBlockCount = static_cast<std::int16_t>(contents.blocks.size());
    for (std::size_t j = 0; j < contents.blocks.size(); ++j) {
        const CoastRawBlock& raw = contents.blocks[j];
        CoastBlock& block = data.CoastBlocks[j + 1];
        block.firstPoint = raw.firstPoint;
        block.minLatitude = raw.minLatitude / latitudeScale;
        block.maxLatitude = raw.maxLatitude / latitudeScale;
        block.minLongitude = raw.minLongitude / longitudeScale;
        block.maxLongitude = raw.maxLongitude / longitudeScale;
    }
}

CoastlineData ReadCoastlines(std::span<const std::uint8_t> bytes, const std::string& fileName) {
    return ToCoastlineData(ReadCoastFileContents(bytes, fileName));
}

CoastlineData LoadCoastlines(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return ReadCoastlines(bytes, path);
}

std::vector<std::uint8_t> WriteCoastFile(const CoastFileContents& contents,
                                         const std::string& fileName) {
    ByteWriter writer(fileName);
    WriterIo io(writer);
    DescribeCoastFile(io, contents);
    CheckBlocks(contents, fileName);
    return writer.TakeBytes();
}

void SaveCoastFile(const CoastFileContents& contents, const std::string& path) {
    const std::vector<std::uint8_t> bytes = WriteCoastFile(contents, path);
    WriteFileBytes(path, bytes);
}

}  // namespace corvane::navdata
