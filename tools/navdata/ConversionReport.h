// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvane::navdata::convert {

/// Counts of one kind of record: how many were kept and, for each reason, how many dropped.
/// Reasons keep the order in which they were first met.
class KindCounts {
  public:
    explicit KindCounts(std::string kind = {}) : kind_(std::move(kind)) {}

    void Keep(long n = 1) { kept_ += n; }
    void Drop(const std::string& reason, long n = 1);
    /// Records a fact about kept records ("fuel inferred", ...), shown beside the counts.
    void Note(const std::string& note, long n = 1);

    const std::string& kind() const { return kind_; }
    long kept() const { return kept_; }
    long dropped() const;
    long droppedFor(const std::string& reason) const;
    long noted(const std::string& note) const;
    const std::vector<std::pair<std::string, long>>& reasons() const { return reasons_; }
    const std::vector<std::pair<std::string, long>>& notes() const { return notes_; }

  private:
    static void Add(std::vector<std::pair<std::string, long>>& list, const std::string& key,
                    long n);
    static long Find(const std::vector<std::pair<std::string, long>>& list, const std::string& key);

    std::string kind_;
    long kept_ = 0;
    std::vector<std::pair<std::string, long>> reasons_;
    std::vector<std::pair<std::string, long>> notes_;
};

/// What the airport database conversion kept and dropped.
struct DatabaseReport {
    KindCounts airports{"airports"};
    KindCounts runways{"runways"};
    KindCounts atis{"ATIS stations"};
    KindCounts ils{"ILS stations"};
    KindCounts vors{"VORs"};
    KindCounts ndbs{"NDBs"};
    double minRunwayFeet = 0.0;  ///< the shortest runway length kept
    long bytes = 0;
};

/// What the coastline conversion kept and dropped.
struct CoastReport {
    long sourceRings = 0;
    long sourcePoints = 0;
    long keptRings = 0;
    long droppedTinyRings = 0;    ///< rings that shrink below three points at the file's units
    long droppedBudgetRings = 0;  ///< smallest rings left out for the point or block budget
    long artificialCuts = 0;      ///< edges along the 180 degree meridian or the south edge
    long points = 0;              ///< points written, break markers included
    long markers = 0;
    long blocks = 0;
    long nudgedFromOrigin = 0;     ///< points moved off the (0, 0) break marker
    double toleranceMetres = 0.0;  ///< simplification tolerance chosen
    double smallestRingKm2 = 0.0;  ///< area of the smallest ring kept
    long bytes = 0;
};

/// Multi-line text of the report, as the converter prints it.
std::string FormatDatabaseReport(const DatabaseReport& report);
std::string FormatCoastReport(const CoastReport& report);

}  // namespace corvane::navdata::convert
