// SPDX-License-Identifier: MIT
//
// The landing runway as the harness measures against it: the threshold of the
// chosen direction, the far end, the length between them and the width, from
// the airport database. Positions are expressed as the distance along the
// centre line past the threshold and the distance beside it (right of the
// landing direction positive), on the program's sphere.
#pragma once

#include <string>

#include "navdata/AirportDatabase.h"

namespace corvane::harness {

struct RunwayPoint {
    double alongFt = 0.0;  // past the threshold along the centre line (negative: before it)
    double crossM = 0.0;   // beside the centre line, right of the landing direction positive
};

class RunwayFrame {
  public:
    RunwayFrame() = default;
    // The landing direction of a list line's item data: +i lands on runway
    // record i at end A towards end B, -i at end B towards end A. Throws
    // std::out_of_range for a record the database does not hold.
    RunwayFrame(const navdata::AirportDatabase& db, int runwayChoice);

    RunwayPoint Locate(double latitudeDeg, double longitudeDeg) const;
    // On the paved strip: between the two ends and within the half width.
    bool OnRunway(const RunwayPoint& point) const;

    double ThresholdLatitude() const { return thresholdLat_; }
    double ThresholdLongitude() const { return thresholdLon_; }
    double FarEndLatitude() const { return farLat_; }
    double FarEndLongitude() const { return farLon_; }
    double HeadingTrueDeg() const { return headingDeg_; }
    // Threshold to far end, as the two ends lie in the database.
    double LengthFt() const { return lengthFt_; }
    // The length the database lists for the strip.
    double ListedLengthFt() const { return listedLengthFt_; }
    double WidthM() const { return widthM_; }
    double ElevationFt() const { return elevationFt_; }
    const std::string& Designator() const { return designator_; }

  private:
    double thresholdLat_ = 0.0;
    double thresholdLon_ = 0.0;
    double farLat_ = 0.0;
    double farLon_ = 0.0;
    double headingDeg_ = 0.0;
    double lengthFt_ = 0.0;
    double listedLengthFt_ = 0.0;
    double widthM_ = 0.0;
    double elevationFt_ = 0.0;
    std::string designator_;
    // Located at every simulator step: the frame's cosine of the threshold's
    // latitude and sine and cosine of its heading, worked out once.
    double cosThresholdLat_ = 1.0;
    double sinHeading_ = 0.0;
    double cosHeading_ = 1.0;
};

}  // namespace corvane::harness
