// SPDX-License-Identifier: MIT
#include "tools/harness/Campaign.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include <nlohmann/json.hpp>

#include "tools/harness/ReportJson.h"
#include "tools/harness/Scenario.h"

namespace corvane::harness {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

std::string ReadFile(const fs::path& path) {
    try {
        return ReadTextFile(path.string());
    } catch (const ScenarioError& e) {
        throw CampaignError(e.what());
    }
}

// A few names of a list, for a message.
std::string Some(const std::vector<std::string>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size() && i < 5; ++i)
        out += (i ? ", " : "") + names[i];
    if (names.size() > 5)
        out += " and " + std::to_string(names.size() - 5) + " more";
    return out;
}

// A number and its noun for a message: "1 shard", "20 shards".
std::string Counted(std::size_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string CampaignName(const CampaignRecord& r) {
    std::string name =
        Counted(std::size_t(r.flights), "flight") + " of seed " + std::to_string(r.seed);
    if (!r.aircraft.empty())
        name += " by " + r.aircraft;
    return name + " on " + r.simulator;
}

// The reports of a folder, in the order of their names (summary and
// campaign files aside).
std::vector<fs::path> ReportFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, error)) {
        const fs::path& p = e.path();
        if (e.is_regular_file() && p.extension() == ".json" && p.filename() != "summary.json" &&
            p.filename() != kCampaignFileName)
            files.push_back(p);
    }
    if (error)
        throw CampaignError(folder.string() + ": cannot be read: " + error.message());
    std::sort(files.begin(), files.end());
    return files;
}

LandingReport ReadReport(const fs::path& path) {
    try {
        return ReportFromJson(json::parse(ReadFile(path)));
    } catch (const std::exception& e) {
        throw CampaignError(path.string() + ": not a report: " + e.what());
    }
}

void AddFailedFile(const fs::path& folder, const std::string& name, MergedRuns& out) {
    const fs::path failed = folder / "failed" / (name + ".json");
    std::error_code error;
    if (fs::is_regular_file(failed, error))
        out.failedScenarioFiles.push_back(failed.string());
}

}  // namespace

Shard ParseShard(const std::string& text) {
    const std::size_t slash = text.find('/');
    auto whole = [&](const std::string& part, int* out) {
        if (part.empty() || part.size() > 7 ||
            part.find_first_not_of("0123456789") != std::string::npos)
            return false;
        *out = std::stoi(part);
        return true;
    };
    Shard s;
    if (slash == std::string::npos || !whole(text.substr(0, slash), &s.index) ||
        !whole(text.substr(slash + 1), &s.count))
        throw std::invalid_argument("--shard needs K/M, two whole numbers, not \"" + text + "\"");
    if (s.count < 1 || s.index >= s.count)
        throw std::invalid_argument("--shard K/M needs 0 <= K < M, not \"" + text + "\"");
    return s;
}

std::vector<int> ShardFlights(int flights, const Shard& shard) {
    std::vector<int> out;
    for (int i = shard.index; i < flights; i += shard.count)
        out.push_back(i);
    return out;
}

bool CampaignRecord::SameCampaign(const CampaignRecord& o) const {
    return simulator == o.simulator && aircraft == o.aircraft && seed == o.seed &&
           flights == o.flights && shard.count == o.shard.count;
}

std::string CampaignToJsonText(const CampaignRecord& r) {
    nlohmann::ordered_json j;
    j["simulator"] = r.simulator;
    j["aircraft"] = r.aircraft;
    j["seed"] = r.seed;
    j["flights"] = r.flights;
    j["shard"] = std::to_string(r.shard.index) + "/" + std::to_string(r.shard.count);
    nlohmann::ordered_json flown = nlohmann::ordered_json::array();
    for (const auto& [index, name] : r.flown)
        flown.push_back({{"index", index}, {"name", name}});
    j["flown"] = flown;
    return j.dump(2) + "\n";
}

CampaignRecord ParseCampaign(const std::string& text, const std::string& fileName) {
    CampaignRecord r;
    try {
        const json j = json::parse(text);
        r.simulator = j.at("simulator").get<std::string>();
        r.aircraft = j.at("aircraft").get<std::string>();
        r.seed = j.at("seed").get<std::uint64_t>();
        r.flights = j.at("flights").get<int>();
        r.shard = ParseShard(j.at("shard").get<std::string>());
        for (const json& f : j.at("flown"))
            r.flown.push_back({f.at("index").get<int>(), f.at("name").get<std::string>()});
    } catch (const std::exception& e) {
        throw CampaignError(fileName + ": not a campaign file: " + e.what());
    }
    for (const auto& [index, name] : r.flown) {
        if (index < 0 || index >= r.flights || index % r.shard.count != r.shard.index)
            throw CampaignError(fileName + ": flight " + name + " (" + std::to_string(index) +
                                ") is not one of shard " + std::to_string(r.shard.index) + "/" +
                                std::to_string(r.shard.count) + " of " + std::to_string(r.flights));
    }
    return r;
}

MergedRuns MergeRuns(const std::vector<std::string>& folders) {
    if (folders.empty())
        throw CampaignError("--merge needs at least one reports folder");
    std::vector<std::optional<CampaignRecord>> records;
    for (const std::string& folder : folders) {
        const fs::path file = fs::path(folder) / kCampaignFileName;
        std::error_code error;
        if (!fs::is_directory(folder, error))
            throw CampaignError(folder + ": not a folder of reports");
        if (fs::exists(file, error))
            records.push_back(ParseCampaign(ReadFile(file), file.string()));
        else
            records.push_back(std::nullopt);
    }
    MergedRuns out;
    const bool anyCampaign =
        std::any_of(records.begin(), records.end(), [](const auto& r) { return r.has_value(); });
    if (anyCampaign) {
        // Shards of one campaign, each once, all of them.
        for (std::size_t i = 0; i < folders.size(); ++i) {
            if (!records[i])
                throw CampaignError(folders[i] + ": has no " + kCampaignFileName +
                                    ", so it is no shard of the campaign of " + folders[0]);
            if (!records[i]->SameCampaign(*records[0]))
                throw CampaignError(folders[i] + " (" + CampaignName(*records[i]) + ", " +
                                    Counted(std::size_t(records[i]->shard.count), "shard") +
                                    ") and " + folders[0] + " (" + CampaignName(*records[0]) +
                                    ", " + Counted(std::size_t(records[0]->shard.count), "shard") +
                                    ") are shards of different campaigns");
        }
        const CampaignRecord& campaign = *records[0];
        std::map<int, std::size_t> shardFolder;
        for (std::size_t i = 0; i < folders.size(); ++i) {
            const auto [at, fresh] = shardFolder.insert({records[i]->shard.index, i});
            if (!fresh)
                throw CampaignError(folders[i] + " and " + folders[at->second] +
                                    " are both shard " + std::to_string(records[i]->shard.index) +
                                    "/" + std::to_string(campaign.shard.count));
        }
        std::vector<std::string> missingShards;
        for (int k = 0; k < campaign.shard.count; ++k) {
            if (!shardFolder.count(k))
                missingShards.push_back(std::to_string(k) + "/" +
                                        std::to_string(campaign.shard.count));
        }
        if (!missingShards.empty())
            throw CampaignError("the campaign of " + CampaignName(campaign) + " misses shard" +
                                (missingShards.size() > 1 ? "s " : " ") + Some(missingShards));

        // Each flight of the campaign from the shard that flew it.
        std::vector<std::optional<LandingReport>> byIndex(std::size_t(campaign.flights));
        std::vector<std::string> missing;
        for (std::size_t i = 0; i < folders.size(); ++i) {
            const CampaignRecord& r = *records[i];
            std::set<int> listed;
            for (const auto& [index, name] : r.flown) {
                if (!listed.insert(index).second)
                    throw CampaignError(folders[i] + ": flight " + name + " is listed twice");
                const fs::path report = fs::path(folders[i]) / (name + ".json");
                std::error_code error;
                if (!fs::is_regular_file(report, error)) {
                    missing.push_back(name + " (" + folders[i] + ")");
                    continue;
                }
                LandingReport rep = ReadReport(report);
                if (rep.scenario != name)
                    throw CampaignError(report.string() + ": the report of " + rep.scenario +
                                        ", not of " + name);
                byIndex[std::size_t(index)] = std::move(rep);
                AddFailedFile(folders[i], name, out);
            }
            // Every shard flies all of its flights.
            for (int index : ShardFlights(campaign.flights, r.shard)) {
                if (!listed.count(index))
                    missing.push_back("flight " + std::to_string(index) + " (" + folders[i] + ")");
            }
        }
        if (!missing.empty())
            throw CampaignError("the campaign of " + CampaignName(campaign) + " misses " +
                                Counted(missing.size(), "flight") + ": " + Some(missing));
        for (std::optional<LandingReport>& r : byIndex)
            out.reports.push_back(std::move(*r));
        out.campaign = true;
        return out;
    }

    // Runs of scenario files: every report, each scenario once.
    std::map<std::string, std::string> seen;
    for (const std::string& folder : folders) {
        for (const fs::path& file : ReportFiles(folder)) {
            LandingReport r = ReadReport(file);
            const auto [at, fresh] = seen.insert({r.scenario, folder});
            if (!fresh)
                throw CampaignError(r.scenario + " was flown twice: in " + at->second + " and in " +
                                    folder);
            AddFailedFile(folder, r.scenario, out);
            out.reports.push_back(std::move(r));
        }
    }
    if (out.reports.empty())
        throw CampaignError(Some(folders) + ": no reports to merge");
    return out;
}

}  // namespace corvane::harness
