// SPDX-License-Identifier: MIT
#include "tools/harness/RunwayFrame.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "navdata/PositionText.h"
#include "sim/physics/Units.h"

namespace corvane::harness {

namespace {

namespace units = sim::units;

// East and north metres of a position from an origin, on the plane touching
// the sphere at the origin (a runway's few kilometres are far below the
// projection's error).
// cosLat0 is the cosine of the origin's latitude.
void EastNorthM(double lat0, double lon0, double cosLat0, double lat, double lon, double* east,
                double* north) {
    double dLon = lon - lon0;
    if (dLon > 180.0)
        dLon -= 360.0;
    if (dLon < -180.0)
        dLon += 360.0;
    *north = (lat - lat0) * units::kMetresPerDegreeLatitude;
    *east = dLon * units::kMetresPerDegreeLatitude * cosLat0;
}

}  // namespace

RunwayFrame::RunwayFrame(const navdata::AirportDatabase& db, int runwayChoice) {
    const int record = std::abs(runwayChoice);
    if (record < 1 || record > db.RunwayCount || record >= static_cast<int>(db.Runways.size()))
        throw std::out_of_range("no runway record " + std::to_string(record));
    const navdata::RunwayRecord& r = db.Runways[static_cast<std::size_t>(record)];
    const bool endA = runwayChoice > 0;
    thresholdLat_ = endA ? r.latitudeA : r.latitudeB;
    thresholdLon_ = endA ? r.longitudeA : r.longitudeB;
    farLat_ = endA ? r.latitudeB : r.latitudeA;
    farLon_ = endA ? r.longitudeB : r.longitudeA;
    elevationFt_ = (endA ? r.elevationA : r.elevationB) * units::kFeetPerMetre;
    designator_ = navdata::RunwayDesignatorText(endA ? r.codeA : r.codeB);
    listedLengthFt_ = r.lengthFeet;
    widthM_ = r.widthFeet * units::kMetresPerFoot;

    double east = 0.0;
    double north = 0.0;
    cosThresholdLat_ = std::cos(thresholdLat_ * units::kDegToRad);
    EastNorthM(thresholdLat_, thresholdLon_, cosThresholdLat_, farLat_, farLon_, &east, &north);
    lengthFt_ = std::hypot(east, north) * units::kFeetPerMetre;
    headingDeg_ = std::atan2(east, north) * units::kRadToDeg;
    if (headingDeg_ < 0.0)
        headingDeg_ += 360.0;
    sinHeading_ = std::sin(headingDeg_ * units::kDegToRad);
    cosHeading_ = std::cos(headingDeg_ * units::kDegToRad);
}

RunwayPoint RunwayFrame::Locate(double latitudeDeg, double longitudeDeg) const {
    double east = 0.0;
    double north = 0.0;
    EastNorthM(thresholdLat_, thresholdLon_, cosThresholdLat_, latitudeDeg, longitudeDeg, &east,
               &north);
    const double alongM = east * sinHeading_ + north * cosHeading_;
    const double rightM = east * cosHeading_ - north * sinHeading_;
    return {alongM * units::kFeetPerMetre, rightM};
}

bool RunwayFrame::OnRunway(const RunwayPoint& point) const {
    return point.alongFt >= 0.0 && point.alongFt <= lengthFt_ &&
           std::abs(point.crossM) <= widthM_ / 2.0;
}

}  // namespace corvane::harness
