// SPDX-License-Identifier: MIT
#pragma once

// The layout of airdata.tri, written once and used both to read and to write the file. Each
// Describe function names the fields of one record in file order with their types; an Io
// object either reads them (AirportDatabaseFile.cpp, reader side) or writes them (writer side).
// The Io operations are:
//   I16, U8, F64       one number of that type (little-endian)
//   Text               u16 length, then that many bytes, as stored
//   ScrambledText      the same, stored scrambled by UnscrambleText and held as plain text
//   Spare              a run of unused bytes, kept as they are
//   Header             the 255 header texts
//   List               an i16 count, then records 1 to count
//   Index              1801 i16 longitude index entries

#include "navdata/AirportDatabase.h"

namespace corvane::navdata {

// AirportRecord: 40 bytes plus two texts.
template <class Io, class Record>
void DescribeAirportRecord(Io& io, Record& r) {
    io.I16(r.tag);
    io.ScrambledText(r.name);
    io.F64(r.latitude);
    io.F64(r.longitude);
    io.I16(r.elevation);
    io.I16(r.hasFuel);
    io.F64(r.fuelLatitude);
    io.F64(r.fuelLongitude);
    io.Text(r.remark);
    io.I16(r.atisNumber);
}

// RunwayRecord: 51 bytes, no texts.
template <class Io, class Record>
void DescribeRunwayRecord(Io& io, Record& r) {
    io.I16(r.tag);
    io.I16(r.airportNumber);
    io.U8(r.codeA);
    io.U8(r.codeB);
    io.F64(r.latitudeA);
    io.F64(r.longitudeA);
    io.I16(r.elevationA);
    io.F64(r.latitudeB);
    io.F64(r.longitudeB);
    io.I16(r.elevationB);
    io.U8(r.surface);
    io.I16(r.lengthFeet);
    io.I16(r.widthFeet);
    io.I16(r.ilsA);
    io.I16(r.ilsB);
}

// AtisRecord: 36 bytes plus four texts.
template <class Io, class Record>
void DescribeAtisRecord(Io& io, Record& r) {
    io.I16(r.tag);
    io.F64(r.frequency);
    io.F64(r.latitude);
    io.F64(r.longitude);
    io.F64(r.spare1);
    io.I16(r.spare2);
    io.Text(r.text1);
    io.Text(r.text2);
    io.Text(r.text3);
    io.Text(r.text4);
}

// IlsRecord: 53 bytes plus two texts.
template <class Io, class Record>
void DescribeIlsRecord(Io& io, Record& r) {
    io.I16(r.tag);
    io.ScrambledText(r.name);
    io.ScrambledText(r.ident);
    io.F64(r.frequency);
    io.F64(r.spare1);
    io.F64(r.spare2);
    io.I16(r.approachHeading);
    io.U8(r.rangeKm);
    io.F64(r.glideSlopeLatitude);
    io.F64(r.glideSlopeLongitude);
    io.F64(r.glideSlopeAltitude);
}

// VorRecord (31 bytes plus two texts) and NdbRecord (29 bytes plus two texts).
template <class Io, class Record>
void DescribeBeaconRecord(Io& io, Record& r) {
    io.I16(r.tag);
    io.ScrambledText(r.label1);
    io.ScrambledText(r.label2);
    io.F64(r.latitude);
    io.F64(r.longitude);
    io.Spare(r.spare1);
    io.Spare(r.spare2);
    io.Spare(r.spare3);
}

// The whole file: sections in file order.
template <class Io, class Database>
void DescribeAirportDatabase(Io& io, Database& db) {
    io.Header(db.headerTexts);
    io.List("airport count", "airports", db.AirportCount, db.Airports,
            [](Io& i, auto& r) { DescribeAirportRecord(i, r); });
    io.List("runway count", "runways", db.RunwayCount, db.Runways,
            [](Io& i, auto& r) { DescribeRunwayRecord(i, r); });
    io.List("ATIS count", "ATIS stations", db.AtisCount, db.AtisStations,
            [](Io& i, auto& r) { DescribeAtisRecord(i, r); });
    io.List("ILS count", "ILS stations", db.IlsCount, db.IlsStations,
            [](Io& i, auto& r) { DescribeIlsRecord(i, r); });
    io.Index("airport index", db.AirportLonIndex);
    io.List("VOR count", "VORs", db.VorCount, db.Vors,
            [](Io& i, auto& r) { DescribeBeaconRecord(i, r); });
    io.Index("VOR index", db.VorLonIndex);
    io.List("NDB count", "NDBs", db.NdbCount, db.Ndbs,
            [](Io& i, auto& r) { DescribeBeaconRecord(i, r); });
    io.Index("NDB index", db.NdbLonIndex);
}

}  // namespace corvane::navdata
