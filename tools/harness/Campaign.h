// SPDX-License-Identifier: MIT
//
// A campaign of random flights split into shards and merged again.
//
// `--random N --seed S --shard K/M` flies the flights K, K+M, K+2M, ... of
// the campaign `--random N --seed S` flies (the same names and draws), and
// writes beside its reports a campaign file (campaign.json) saying which
// campaign and which shard they are. `--merge DIR...` reads the reports of
// several runs back in the campaign's order and refuses, naming them, shards
// of different campaigns, shards or flights missing and flights flown twice;
// runs without a campaign file (scenario files) merge as they are, each
// scenario at most once.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/harness/LandingReport.h"

namespace corvane::harness {

class CampaignError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Shard {
    int index = 0;  // K: 0 .. count-1
    int count = 1;  // M
};

// "K/M" with 0 <= K < M; throws std::invalid_argument saying what is wrong.
Shard ParseShard(const std::string& text);

// The flights of a shard of an N-flight campaign, in order.
std::vector<int> ShardFlights(int flights, const Shard& shard);

// What a run's campaign file records.
struct CampaignRecord {
    std::string simulator;  // "stand-in" or "flightgear"
    std::string aircraft;   // --aircraft, empty: the campaign's own fleet
    std::uint64_t seed = 1;
    int flights = 0;  // N of the whole campaign
    Shard shard;
    // The flights this run flew: their index in the campaign and their name.
    std::vector<std::pair<int, std::string>> flown;

    // Two records of one campaign (their shards aside).
    bool SameCampaign(const CampaignRecord& other) const;
};

std::string CampaignToJsonText(const CampaignRecord& record);
// Throws CampaignError naming the file.
CampaignRecord ParseCampaign(const std::string& text, const std::string& fileName);

inline constexpr const char* kCampaignFileName = "campaign.json";

// The merged runs: the reports in the campaign's order (scenario runs: in
// the order of the folders and their reports' names), and where the failed
// flights' scenario files are (a shard's failed/ folder).
struct MergedRuns {
    std::vector<LandingReport> reports;
    std::vector<std::string> failedScenarioFiles;
    bool campaign = false;  // the runs were shards of one campaign
};

// Reads the runs' reports folders; throws CampaignError naming the folders
// and flights at fault.
MergedRuns MergeRuns(const std::vector<std::string>& folders);

}  // namespace corvane::harness
