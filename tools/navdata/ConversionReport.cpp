// SPDX-License-Identifier: MIT
#include "tools/navdata/ConversionReport.h"

#include <cstdio>

namespace corvane::navdata::convert {

void KindCounts::Add(std::vector<std::pair<std::string, long>>& list, const std::string& key,
                     long n) {
    for (auto& entry : list) {
        if (entry.first == key) {
            entry.second += n;
            return;
        }
    }
    list.emplace_back(key, n);
}

long KindCounts::Find(const std::vector<std::pair<std::string, long>>& list,
                      const std::string& key) {
    for (const auto& entry : list) {
        if (entry.first == key) {
            return entry.second;
        }
    }
    return 0;
}

void KindCounts::Drop(const std::string& reason, long n) {
    Add(reasons_, reason, n);
}
void KindCounts::Note(const std::string& note, long n) {
    Add(notes_, note, n);
}
long KindCounts::droppedFor(const std::string& reason) const {
    return Find(reasons_, reason);
}
long KindCounts::noted(const std::string& note) const {
    return Find(notes_, note);
}

long KindCounts::dropped() const {
    long total = 0;
    for (const auto& entry : reasons_) {
        total += entry.second;
    }
    return total;
}

namespace {
std::string FormatKind(const KindCounts& counts) {
    std::string text = "  " + counts.kind() + ": " + std::to_string(counts.kept()) + " kept, " +
                       std::to_string(counts.dropped()) + " dropped\n";
    for (const auto& [reason, n] : counts.reasons()) {
        text += "      dropped " + std::to_string(n) + ": " + reason + "\n";
    }
    for (const auto& [note, n] : counts.notes()) {
        text += "      " + std::to_string(n) + " " + note + "\n";
    }
    return text;
}

std::string Fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}
}  // namespace

std::string FormatDatabaseReport(const DatabaseReport& report) {
    std::string text = "airdata.tri: " + std::to_string(report.bytes) + " bytes\n";
    text += FormatKind(report.airports);
    text += FormatKind(report.runways);
    text += FormatKind(report.atis);
    text += FormatKind(report.ils);
    text += FormatKind(report.vors);
    text += FormatKind(report.ndbs);
    text += "  shortest runway kept: " + Fixed(report.minRunwayFeet, 0) + " ft\n";
    return text;
}

std::string FormatCoastReport(const CoastReport& report) {
    std::string text = "COAST2.int: " + std::to_string(report.bytes) + " bytes\n";
    text += "  source: " + std::to_string(report.sourceRings) + " rings, " +
            std::to_string(report.sourcePoints) + " points\n";
    text += "  rings kept: " + std::to_string(report.keptRings) + " (smallest " +
            Fixed(report.smallestRingKm2, 1) + " km2)\n";
    text += "  rings dropped: " + std::to_string(report.droppedTinyRings) +
            " below the file's resolution, " + std::to_string(report.droppedBudgetRings) +
            " smallest left out for the budget\n";
    text += "  simplification tolerance: " + Fixed(report.toleranceMetres, 0) + " m\n";
    text += "  points: " + std::to_string(report.points) + " of 81500 (" +
            std::to_string(report.markers) + " break markers)\n";
    text += "  blocks: " + std::to_string(report.blocks) + " of 1000\n";
    text += "  edges along the 180 degree meridian or the south edge left out: " +
            std::to_string(report.artificialCuts) + "\n";
    if (report.nudgedFromOrigin > 0) {
        text += "  points moved off the break marker (0, 0): " +
                std::to_string(report.nudgedFromOrigin) + "\n";
    }
    return text;
}

}  // namespace corvane::navdata::convert
