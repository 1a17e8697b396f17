// SPDX-License-Identifier: MIT
//
// The JSON form of a landing report (one file per scenario) and of a set's
// summary. docs/harness.md lists the fields.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/harness/LandingReport.h"
#include "tools/harness/SetSummary.h"

namespace corvane::harness {

nlohmann::ordered_json ReportToJson(const LandingReport& report);
nlohmann::ordered_json SummaryToJson(const SetSummary& summary,
                                     const std::vector<SetSummary>& byAircraft = {});

// A report back from its JSON form (as ReportToJson rounds it). Used to pass
// reports between the processes of a parallel run, and by every run alike so
// that the summary does not depend on how many processes flew the set.
// Throws nlohmann::json::exception for a text that is not a report.
LandingReport ReportFromJson(const nlohmann::json& json);

// Writes JSON text to a file; false (with *error set) when it cannot.
bool WriteJsonFile(const nlohmann::ordered_json& json, const std::string& path, std::string* error);

}  // namespace corvane::harness
