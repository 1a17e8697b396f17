// SPDX-License-Identifier: MIT
#include "navdata/AirportDatabaseFile.h"

#include "navdata/AirportDatabaseLayout.h"
#include "navdata/ByteReader.h"
#include "navdata/ByteWriter.h"
#include "navdata/DataFile.h"
#include "navdata/NavDataError.h"
#include "navdata/TextKey.h"

namespace corvane::navdata {

namespace {

// Reads the fields named by the layout.
class ReaderIo {
  public:
    explicit ReaderIo(ByteReader& reader) : in_(reader) {}

    void I16(std::int16_t& v) { v = in_.I16(); }
    void U8(std::uint8_t& v) { v = in_.U8(); }
    void F64(double& v) { v = in_.F64(); }
    void Text(std::string& v) { in_.Text(v); }
    void ScrambledText(std::string& v) {
        in_.Text(v);
        UnscrambleTextInPlace(v);
    }
    template <std::size_t N>
    void Spare(std::array<std::uint8_t, N>& v) {
        in_.Bytes(v.data(), N);
    }
    void Header(std::vector<std::string>& texts) {
        in_.SetSection("header");
        texts.assign(HeaderTextCount, std::string());
        for (int i = 0; i < HeaderTextCount; ++i) {
            in_.SetRecord(i + 1);
            in_.Text(texts[i]);
        }
    }
    template <class Record, class Describe>
    void List(const char* countSection, const char* section, std::int16_t& count,
              std::vector<Record>& records, Describe describe) {
        in_.SetSection(countSection);
        count = in_.I16();
        if (count < 0) {
            in_.Fail("the count " + std::to_string(count) + " is negative");
        }
        if (count > MaxRecordCount) {
            in_.Fail("the count " + std::to_string(count) + " is beyond the limit of " +
                     std::to_string(MaxRecordCount));
        }
        // The arrays run from 0 to count + 1, with only 1 to count in the file. They
        // grow as records are read, so that a count the bytes cannot hold costs no
        // more memory than the bytes that are there.
        records.assign(1, Record{});
        in_.SetSection(section);
        for (int i = 1; i <= count; ++i) {
            in_.SetRecord(i);
            Record record{};
            describe(*this, record);
            records.push_back(std::move(record));
        }
        records.push_back(Record{});
    }
    void Index(const char* section, LonIndex& index) {
        in_.SetSection(section);
        for (std::int16_t& entry : index) {
            entry = in_.I16();
        }
    }

  private:
    ByteReader& in_;
};

// Writes the fields named by the layout.
class WriterIo {
  public:
    explicit WriterIo(ByteWriter& writer) : out_(writer) {}

    void I16(std::int16_t v) { out_.I16(v); }
    void U8(std::uint8_t v) { out_.U8(v); }
    void F64(double v) { out_.F64(v); }
    void Text(const std::string& v) { out_.Text(v); }
    void ScrambledText(const std::string& v) { out_.Text(UnscrambleText(v)); }
    template <std::size_t N>
    void Spare(const std::array<std::uint8_t, N>& v) {
        out_.Bytes(v.data(), N);
    }
    void Header(const std::vector<std::string>& texts) {
        out_.SetSection("header");
        if (texts.size() > static_cast<std::size_t>(HeaderTextCount)) {
            out_.Fail("more than " + std::to_string(HeaderTextCount) + " header texts");
        }
        for (int i = 0; i < HeaderTextCount; ++i) {
            out_.SetRecord(i + 1);
            out_.Text(i < static_cast<int>(texts.size()) ? texts[i] : std::string());
        }
    }
    template <class Record, class Describe>
    void List(const char* countSection, const char* section, std::int16_t count,
              const std::vector<Record>& records, Describe describe) {
        out_.SetSection(countSection);
        if (count < 0 || count > MaxRecordCount) {
            out_.Fail("the count " + std::to_string(count) + " is outside 0 to " +
                      std::to_string(MaxRecordCount));
        }
        if (records.size() != static_cast<std::size_t>(count) + 2) {
            out_.Fail("the count " + std::to_string(count) + " does not match the " +
                      std::to_string(records.size()) + " array elements (count + 2 expected)");
        }
        out_.I16(count);
        out_.SetSection(section);
        for (int i = 1; i <= count; ++i) {
            out_.SetRecord(i);
            describe(*this, records[i]);
        }
    }
    void Index(const char* section, const LonIndex& index) {
        out_.SetSection(section);
        for (std::int16_t entry : index) {
            out_.I16(entry);
        }
    }

  private:
    ByteWriter& out_;
};

[[noreturn]] void FailReference(const std::string& fileName, const char* section, long record,
                                const char* field, long value, const char* list, long count) {
    throw NavDataError(fileName, section, record,
                       std::string(field) + " " + std::to_string(value) + " is outside 0 to " +
                           std::to_string(count) + " (" + list + ")");
}

void CheckIndex(const std::string& fileName, const char* section, const LonIndex& index,
                int count) {
    for (int k = 0; k < LonIndexSize; ++k) {
        // An entry may point one past the last record: that element exists and is empty.
        if (index[k] < 0 || index[k] > count + 1) {
            throw NavDataError(fileName, section, 0,
                               "entry " + std::to_string(k) + " holds " + std::to_string(index[k]) +
                                   ", outside 0 to " + std::to_string(count + 1));
        }
    }
}

}  // namespace

void CheckAirportDatabaseReferences(const AirportDatabase& db, const std::string& fileName) {
    for (int i = 1; i <= db.AirportCount; ++i) {
        const int atis = db.Airports[i].atisNumber;
        if (atis < 0 || atis > db.AtisCount) {
            FailReference(fileName, "airports", i, "atisNumber", atis, "ATIS stations",
                          db.AtisCount);
        }
    }
    for (int i = 1; i <= db.RunwayCount; ++i) {
        const RunwayRecord& r = db.Runways[i];
        if (r.airportNumber < 0 || r.airportNumber > db.AirportCount) {
            FailReference(fileName, "runways", i, "airportNumber", r.airportNumber, "airports",
                          db.AirportCount);
        }
        if (r.ilsA < 0 || r.ilsA > db.IlsCount) {
            FailReference(fileName, "runways", i, "ilsA", r.ilsA, "ILS stations", db.IlsCount);
        }
        if (r.ilsB < 0 || r.ilsB > db.IlsCount) {
            FailReference(fileName, "runways", i, "ilsB", r.ilsB, "ILS stations", db.IlsCount);
        }
    }
    CheckIndex(fileName, "airport index", db.AirportLonIndex, db.AirportCount);
    CheckIndex(fileName, "VOR index", db.VorLonIndex, db.VorCount);
    CheckIndex(fileName, "NDB index", db.NdbLonIndex, db.NdbCount);
}

AirportDatabase ReadAirportDatabase(std::span<const std::uint8_t> bytes,
                                    const std::string& fileName) {
    AirportDatabase db;
    ByteReader reader(bytes, fileName);
    ReaderIo io(reader);
    DescribeAirportDatabase(io, db);
    CheckAirportDatabaseReferences(db, fileName);
    return db;
}

AirportDatabase LoadAirportDatabase(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return ReadAirportDatabase(bytes, path);
}

std::vector<std::uint8_t> WriteAirportDatabase(const AirportDatabase& db,
                                               const std::string& fileName) {
    ByteWriter writer(fileName);
    WriterIo io(writer);
    DescribeAirportDatabase(io, db);
    CheckAirportDatabaseReferences(db, fileName);
    return writer.TakeBytes();
}

void SaveAirportDatabase(const AirportDatabase& db, const std::string& path) {
    const std::vector<std::uint8_t> bytes = WriteAirportDatabase(db, path);
    WriteFileBytes(path, bytes);
}

}  // namespace corvane::navdata
