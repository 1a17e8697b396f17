// SPDX-License-Identifier: MIT
#include "tools/navdata/CoastlineBuilder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <tuple>

namespace corvane::navdata::convert {

namespace {

constexpr double kMetresPerDegree = 111195.0;  // mean earth, 6371 km radius
constexpr double kEarthRadiusKm = 6371.0;
constexpr double kSouthEdgeLatitude = -85.0;  // no coastline lies south of this
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

// A stretch of coastline between two left-out edges (or a whole ring), with the tolerance at
// which each point is kept by the Douglas-Peucker simplification.
struct Line {
    std::vector<GeoPoint> points;
    std::vector<double> significance;
};

struct PreparedRing {
    std::vector<Line> lines;
    bool closed = false;  // one line whose first and last points are the same
    double areaKm2 = 0.0;
    std::size_t sourceIndex = 0;
};

bool OnSeam(const GeoPoint& p) {
    return std::fabs(p.longitude) >= 180.0 - 1e-7;
}

bool IsArtificialEdge(const GeoPoint& a, const GeoPoint& b) {
    return (OnSeam(a) && OnSeam(b)) ||
           (a.latitude <= kSouthEdgeLatitude && b.latitude <= kSouthEdgeLatitude);
}

// Area of a ring on the sphere (Chamberlain and Duquette), in square kilometres.
double RingAreaKm2(const Ring& ring) {
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        const GeoPoint& a = ring[i];
        const GeoPoint& b = ring[i + 1];
        sum += (b.longitude - a.longitude) * kDegToRad *
               (2.0 + std::sin(a.latitude * kDegToRad) + std::sin(b.latitude * kDegToRad));
    }
    return std::fabs(sum) * kEarthRadiusKm * kEarthRadiusKm / 2.0;
}

double SegmentDistanceMetres(const GeoPoint& p, const GeoPoint& a, const GeoPoint& b) {
    const double cosRef = std::cos((a.latitude + b.latitude) / 2.0 * kDegToRad);
    const double bx = (b.longitude - a.longitude) * cosRef * kMetresPerDegree;
    const double by = (b.latitude - a.latitude) * kMetresPerDegree;
    const double px = (p.longitude - a.longitude) * cosRef * kMetresPerDegree;
    const double py = (p.latitude - a.latitude) * kMetresPerDegree;
    const double lengthSquared = bx * bx + by * by;
    double t = lengthSquared > 0.0 ? (px * bx + py * by) / lengthSquared : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - t * bx, py - t * by);
}

void ComputeSignificance(Line& line) {
    const std::size_t n = line.points.size();
    line.significance.assign(n, 0.0);
    if (n == 0) {
        return;
    }
    line.significance.front() = std::numeric_limits<double>::infinity();
    line.significance.back() = std::numeric_limits<double>::infinity();
    struct Span {
        std::size_t first, last;
        double parent;
    };
    std::vector<Span> stack{{0, n - 1, std::numeric_limits<double>::infinity()}};
    while (!stack.empty()) {
        const Span span = stack.back();
        stack.pop_back();
        if (span.last <= span.first + 1) {
            continue;
        }
        double farthest = -1.0;
        std::size_t at = span.first + 1;
        for (std::size_t k = span.first + 1; k < span.last; ++k) {
            const double d = SegmentDistanceMetres(line.points[k], line.points[span.first],
                                                   line.points[span.last]);
            if (d > farthest) {
                farthest = d;
                at = k;
            }
        }
        // A point is never kept at a tolerance where the point that split its span is not.
        const double significance = std::min(farthest, span.parent);
        line.significance[at] = significance;
        stack.push_back({span.first, at, significance});
        stack.push_back({at, span.last, significance});
    }
}

PreparedRing PrepareRing(const Ring& ring, std::size_t sourceIndex, long& cuts) {
    PreparedRing prepared;
    prepared.sourceIndex = sourceIndex;
    prepared.areaKm2 = RingAreaKm2(ring);
    const std::size_t n = ring.size() - 1;  // distinct points; ring[n] == ring[0]
    std::size_t firstCut = n;
    for (std::size_t i = 0; i < n; ++i) {
        if (IsArtificialEdge(ring[i], ring[i + 1])) {
            firstCut = i;
            break;
        }
    }
    if (firstCut == n) {
        prepared.closed = true;
        prepared.lines.push_back(Line{ring, {}});
    } else {
        // Walk the ring from the end of the first left-out edge, cutting at each one.
        Line current;
        for (std::size_t step = 0; step < n; ++step) {
            const std::size_t i = (firstCut + 1 + step) % n;
            const std::size_t j = (i + 1) % n;
            current.points.push_back(ring[i]);
            if (IsArtificialEdge(ring[i], ring[j])) {
                ++cuts;
                if (current.points.size() >= 2) {
                    prepared.lines.push_back(std::move(current));
                }
                current = Line{};
            }
        }
    }
    for (Line& line : prepared.lines) {
        ComputeSignificance(line);
    }
    return prepared;
}

using RawLine = std::vector<CoastRawPoint>;

// The ring's lines at a tolerance, quantized; false when it shrinks below the file's units.
bool QuantizeRing(const PreparedRing& ring, double tolerance, std::vector<RawLine>& lines,
                  long& nudged) {
    lines.clear();
    for (const Line& line : ring.lines) {
        RawLine raw;
        for (std::size_t k = 0; k < line.points.size(); ++k) {
            if (line.significance[k] < tolerance) {
                continue;
            }
            bool moved = false;
            const CoastRawPoint p =
                QuantizeCoastPoint(line.points[k].latitude, line.points[k].longitude, moved);
            nudged += moved ? 1 : 0;
            if (raw.empty() || !(raw.back() == p)) {
                raw.push_back(p);
            }
        }
        if (raw.size() >= 2) {
            lines.push_back(std::move(raw));
        }
    }
    if (ring.closed) {
        // A closed ring needs three distinct corners and its closing point.
        return lines.size() == 1 && lines.front().size() >= 4;
    }
    return !lines.empty();
}

struct LineCost {
    long points = 0;  // break markers included
    long blocks = 0;
};

LineCost CostOf(const RawLine& line, int maxBlockPoints) {
    const long n = static_cast<long>(line.size());
    const long step = maxBlockPoints - 1;
    const long blocks = (n - 1 + step - 1) / step;
    // Neighbouring blocks share their joining point; each block ends with a marker.
    return LineCost{n + (blocks - 1) + blocks, blocks};
}

enum class Limit { None, Points, Blocks };

struct Selection {
    std::vector<std::size_t> kept;  // indexes into the ranked rings
    long points = 0;
    long blocks = 0;
    long tiny = 0;
    long nudged = 0;
    Limit stoppedBy = Limit::None;
};

Selection Select(const std::vector<PreparedRing>& ranked, double tolerance,
                 const CoastOptions& options) {
    Selection s;
    std::vector<RawLine> lines;
    for (std::size_t r = 0; r < ranked.size(); ++r) {
        long nudged = 0;
        if (!QuantizeRing(ranked[r], tolerance, lines, nudged)) {
            ++s.tiny;
            continue;
        }
        LineCost cost;
        for (const RawLine& line : lines) {
            const LineCost c = CostOf(line, options.maxBlockPoints);
            cost.points += c.points;
            cost.blocks += c.blocks;
        }
        if (s.points + cost.points > options.pointBudget) {
            s.stoppedBy = Limit::Points;
            break;
        }
        if (s.blocks + cost.blocks > options.blockBudget) {
            s.stoppedBy = Limit::Blocks;
            break;
        }
        s.points += cost.points;
        s.blocks += cost.blocks;
        s.nudged += nudged;
        s.kept.push_back(r);
    }
    return s;
}

}  // namespace

CoastRawPoint QuantizeCoastPoint(double latitude, double longitude, bool& nudged) {
    const double lat = std::clamp(std::nearbyint(latitude * CoastLatitudeScale), -32768.0, 32767.0);
    const double lon =
        std::clamp(std::nearbyint(longitude * CoastLongitudeScale), -32768.0, 32767.0);
    CoastRawPoint p{static_cast<std::int16_t>(lat), static_cast<std::int16_t>(lon)};
    nudged = false;
    if (p.IsBreak()) {
        p.latitude = latitude < 0.0 ? -1 : 1;
        nudged = true;
    }
    return p;
}

CoastFileContents BuildCoastlines(const std::vector<Ring>& rings, const CoastOptions& options,
                                  CoastReport& report) {
    report = CoastReport{};
    report.sourceRings = static_cast<long>(rings.size());
    std::vector<PreparedRing> ranked;
    ranked.reserve(rings.size());
    for (std::size_t i = 0; i < rings.size(); ++i) {
        report.sourcePoints += static_cast<long>(rings[i].size());
        if (rings[i].size() < 4) {
            ++report.droppedTinyRings;
            continue;
        }
        ranked.push_back(PrepareRing(rings[i], i, report.artificialCuts));
    }
    // Largest area first; equal areas in source order.
    std::stable_sort(
        ranked.begin(), ranked.end(),
        [](const PreparedRing& a, const PreparedRing& b) { return a.areaKm2 > b.areaKm2; });

    // The smallest tolerance of the ladder at which the point budget no longer stops the
    // selection (found by bisection over the ladder).
    auto toleranceAt = [&](int step) {
        return options.firstToleranceMetres * std::pow(options.toleranceFactor, step);
    };
    int low = 0;
    int high = std::max(options.toleranceSteps - 1, 0);
    if (Select(ranked, toleranceAt(high), options).stoppedBy == Limit::Points) {
        low = high;
    }
    while (low < high) {
        const int middle = (low + high) / 2;
        if (Select(ranked, toleranceAt(middle), options).stoppedBy != Limit::Points) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    const double tolerance = toleranceAt(low);
    const Selection selection = Select(ranked, tolerance, options);
    report.toleranceMetres = tolerance;
    report.keptRings = static_cast<long>(selection.kept.size());
    report.droppedTinyRings += selection.tiny;
    report.droppedBudgetRings =
        static_cast<long>(ranked.size()) - report.keptRings - selection.tiny;
    report.nudgedFromOrigin = selection.nudged;
    report.smallestRingKm2 = selection.kept.empty() ? 0.0 : ranked[selection.kept.back()].areaKm2;

    // Cut the kept lines into blocks.
    struct Chunk {
        std::vector<CoastRawPoint> points;
        CoastRawBlock box;
        std::size_t sequence = 0;
    };
    std::vector<Chunk> chunks;
    std::vector<RawLine> lines;
    const std::size_t step = static_cast<std::size_t>(options.maxBlockPoints - 1);
    for (std::size_t r : selection.kept) {
        long nudged = 0;
        QuantizeRing(ranked[r], tolerance, lines, nudged);
        for (const RawLine& line : lines) {
            for (std::size_t start = 0; start + 1 < line.size(); start += step) {
                const std::size_t end = std::min(start + step, line.size() - 1);
                Chunk chunk;
                chunk.sequence = chunks.size();
                chunk.points.assign(line.begin() + static_cast<long>(start),
                                    line.begin() + static_cast<long>(end) + 1);
                CoastRawBlock& box = chunk.box;
                box.minLatitude = box.maxLatitude = chunk.points.front().latitude;
                box.minLongitude = box.maxLongitude = chunk.points.front().longitude;
                for (const CoastRawPoint& p : chunk.points) {
                    box.minLatitude = std::min(box.minLatitude, p.latitude);
                    box.maxLatitude = std::max(box.maxLatitude, p.latitude);
                    box.minLongitude = std::min(box.minLongitude, p.longitude);
                    box.maxLongitude = std::max(box.maxLongitude, p.longitude);
                }
                chunks.push_back(std::move(chunk));
            }
        }
    }
    std::sort(chunks.begin(), chunks.end(), [](const Chunk& a, const Chunk& b) {
        return std::tie(a.box.minLatitude, a.box.minLongitude, a.sequence) <
               std::tie(b.box.minLatitude, b.box.minLongitude, b.sequence);
    });

    CoastFileContents contents;
    for (Chunk& chunk : chunks) {
        chunk.box.firstPoint = static_cast<std::int32_t>(contents.points.size() + 1);
        contents.points.insert(contents.points.end(), chunk.points.begin(), chunk.points.end());
        contents.points.push_back(CoastRawPoint{});  // break marker
        contents.blocks.push_back(chunk.box);
    }
    report.points = static_cast<long>(contents.points.size());
    report.markers = static_cast<long>(contents.blocks.size());
    report.blocks = static_cast<long>(contents.blocks.size());
    return contents;
}

}  // namespace corvane::navdata::convert
