// SPDX-License-Identifier: MIT
//
// The plan of one airport in the airport window: runways filled by surface,
// labels, ATIS and fuel markers, the scale bar and the text block.
//
// The plan is an azimuthal projection about the plan's centre, in the picture's
// own units (twips): a point at distance d (metres) and initial bearing b from
// the centre lies at
//   x = width / 2 + sin(b) * d * s,   y = height / 2 - cos(b) * d * s - 300,
// with s in picture units per metre and the angle taken with pi as 3.14159.
// North is up; the plan's origin lies 300 units above the picture's middle.
#pragma once

#include <string>
#include <vector>

#include "app/forms/Forms.h"
#include "navdata/AirportDatabase.h"

namespace corvane::map {

// The projection of one airport's plan, fixed by showmapall.
struct PlanProjection {
    double cLat = 0;  // plan centre, degrees
    double cLon = 0;
    double s = 0;  // picture units per metre
};

struct PlanPoint {
    double x = 0;
    double y = 0;
};

// The plan fitted to an airport: the centre of the box around its runway ends,
// R the larger of the box's half extents north-south and east-west (metres),
// and s such that R spans 85 percent of half the picture's height.
struct PlanFit {
    PlanProjection projection;
    double R = 0;             // metres
    bool hasRunways = false;  // false: the box kept its start values
};
PlanFit FitPlan(const navdata::AirportDatabase& db, int airportNumber, double pictureHeight);

// A position projected into a picture of the given size (picture units).
PlanPoint ProjectPlanPoint(const PlanProjection& plan, double pictureWidth, double pictureHeight,
                           double lat, double lon);

// Fill colour of a runway surface code; false for a code without a colour.
bool SurfaceFillColour(int surface, forms::Rgb* colour);

// Draws the whole view of an airport: shows Form2 with the airport's name as
// its caption and its number as its tag, draws the plan on Form2.picmap and
// writes the text block on Form2.surface. An airport without runways (or whose
// runway ends all lie in one point) gets its text block only.
void showmapall(const navdata::AirportDatabase& db, forms::Form2Model& form, int airportNumber);

// Draws one runway: the strip outlined in blue, flood-filled by surface from
// its centre up to that outline, outlined again in black on all four edges,
// and labelled with its designators beside each end.
void showrunway(const navdata::AirportDatabase& db, int runwayNumber, const PlanProjection& plan,
                int airportNumber, forms::Picture& picture);

// Sets the picture's text position to the projected point.
void moveto(double lat, double lon, const PlanProjection& plan, forms::Picture& picture);
// A straight line between two projected points in the picture's fore colour.
void drawline(double lat1, double lon1, double lat2, double lon2, const PlanProjection& plan,
              forms::Picture& picture);

// The ATIS and fuel markers: black boxes lettered "A" and "F" in white bold at
// the ATIS transmitter and the fuel point. The picture's fill colour, fill
// style, fore colour and bold setting are kept.
void Drawatis(const navdata::AirportDatabase& db, int airportNumber, const PlanProjection& plan,
              forms::Picture& picture);
void Drawfuel(const navdata::AirportDatabase& db, int airportNumber, const PlanProjection& plan,
              forms::Picture& picture);

// One line of the text block: a label at the left margin and a value at the
// value column (empty value for a line that is all label).
struct PlanTextLine {
    std::string label;
    std::string value;
};
// The lines of the text block below the airport's name: position, elevation,
// fuel and ATIS, an empty line, the "Runway"/"ILS details" heading and one line
// per landing direction in runway number order.
std::vector<PlanTextLine> PlanTextLines(const navdata::AirportDatabase& db, int airportNumber);

}  // namespace corvane::map
