// SPDX-License-Identifier: MIT
#include "tools/harness/Campaign.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "tools/harness/ReportJson.h"

namespace corvane::harness {
namespace {

namespace fs = std::filesystem;

// The shards of any campaign fly each of its flights exactly once, each
// flight in the shard of its index modulo the shard count.
TEST(Campaign, ShardsSplitEveryCampaignIntoDisjointComplementarySets) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 200; ++trial) {
        const int flights = std::uniform_int_distribution<int>(0, 300)(rng);
        const int count = std::uniform_int_distribution<int>(1, 40)(rng);
        std::multiset<int> all;
        for (int k = 0; k < count; ++k) {
            const std::vector<int> mine = ShardFlights(flights, Shard{k, count});
            EXPECT_TRUE(std::is_sorted(mine.begin(), mine.end()));
            for (int i : mine) {
                EXPECT_EQ(i % count, k);
                all.insert(i);
            }
        }
        ASSERT_EQ(all.size(), std::size_t(flights));
        for (int i = 0; i < flights; ++i)
            EXPECT_EQ(all.count(i), 1u) << i;
    }
    const Shard s = ParseShard("3/8");
    EXPECT_EQ(s.index, 3);
    EXPECT_EQ(s.count, 8);
    for (const char* bad :
         {"", "3", "3/", "/8", "8/8", "9/8", "0/0", "-1/4", "1/4x", "a/b", "1 /4"})
        EXPECT_THROW(ParseShard(bad), std::invalid_argument) << bad;
}

class CampaignMerge : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "corvane-campaign-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    static std::string Name(int i) { return "r5-" + std::to_string(1000 + i) + "-test"; }

    // Shard k of m of a campaign of n flights, reports and all, in a folder
    // of its own; the flights in `skip` have no report.
    std::string WriteShard(int k, int m, int n, std::uint64_t seed = 5,
                           const std::set<int>& skip = {}) {
        const fs::path folder = root_ / ("shard-" + std::to_string(k) + "-" + std::to_string(seed) +
                                         "-" + std::to_string(counter_++));
        fs::create_directories(folder / "failed");
        CampaignRecord r;
        r.simulator = "stand-in";
        r.seed = seed;
        r.flights = n;
        r.shard = {k, m};
        for (int i : ShardFlights(n, r.shard)) {
            r.flown.push_back({i, Name(i)});
            if (skip.count(i))
                continue;
            LandingReport rep;
            rep.scenario = Name(i);
            rep.outcome = Outcome::LandedAndStopped;
            rep.bounces = i;  // tells the flights apart after the merge
            std::string error;
            EXPECT_TRUE(
                WriteJsonFile(ReportToJson(rep), (folder / (Name(i) + ".json")).string(), &error))
                << error;
            if (i % 2)
                std::ofstream(folder / "failed" / (Name(i) + ".json")) << "{}";
        }
        std::ofstream(folder / kCampaignFileName) << CampaignToJsonText(r);
        return folder.string();
    }

    static std::string MergeError(const std::vector<std::string>& folders) {
        try {
            MergeRuns(folders);
        } catch (const CampaignError& e) {
            return e.what();
        }
        return "merged";
    }

    fs::path root_;
    int counter_ = 0;
};

TEST_F(CampaignMerge, ShardsMergeInTheCampaignsOrderWithTheirFailedFlights) {
    const std::string a = WriteShard(0, 3, 10);
    const std::string b = WriteShard(1, 3, 10);
    const std::string c = WriteShard(2, 3, 10);
    const MergedRuns merged = MergeRuns({c, a, b});
    EXPECT_TRUE(merged.campaign);
    ASSERT_EQ(merged.reports.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(merged.reports[std::size_t(i)].scenario, Name(i));
        EXPECT_EQ(merged.reports[std::size_t(i)].bounces, i);
    }
    EXPECT_EQ(merged.failedScenarioFiles.size(), 5u);
}

TEST_F(CampaignMerge, RefusesWhatIsNotOneWholeCampaignNamingTheCulprits) {
    const std::string a = WriteShard(0, 2, 6);
    const std::string b = WriteShard(1, 2, 6);
    const std::string otherSeed = WriteShard(1, 2, 6, 9);
    const std::string otherCount = WriteShard(1, 3, 6);
    const std::string holed = WriteShard(1, 2, 6, 5, {3});
    const std::string plain = (root_ / "plain").string();
    fs::create_directories(plain);

    const struct {
        std::vector<std::string> folders;
        std::vector<std::string> named;
    } cases[] = {
        {{a, otherSeed}, {"different campaigns", otherSeed, "seed 9", a}},
        {{a, otherCount}, {"different campaigns", "3 shards"}},
        // A whole run beside a shard of the same flights.
        {{WriteShard(0, 1, 6), b}, {"different campaigns", "1 shard)", "2 shards)"}},
        {{a, a}, {"both shard 0/2", a}},
        {{a, b, WriteShard(1, 2, 6)}, {"both shard 1/2"}},
        {{a}, {"misses shard 1/2"}},
        {{a, holed}, {"misses 1 flight", Name(3), holed}},
        {{a, plain}, {plain, "has no campaign.json"}},
        {{(root_ / "none").string()}, {"not a folder of reports"}},
    };
    for (const auto& c : cases) {
        const std::string error = MergeError(c.folders);
        for (const std::string& n : c.named)
            EXPECT_NE(error.find(n), std::string::npos) << error << " should name " << n;
    }

    // A campaign file that puts a flight in the wrong shard.
    CampaignRecord wrong;
    wrong.simulator = "stand-in";
    wrong.flights = 6;
    wrong.shard = {0, 2};
    wrong.flown = {{1, Name(1)}};
    EXPECT_THROW(ParseCampaign(CampaignToJsonText(wrong), "c.json"), CampaignError);
    EXPECT_THROW(ParseCampaign("{\"seed\": 1}", "c.json"), CampaignError);
}

TEST_F(CampaignMerge, RunsOfScenarioFilesMergeEachScenarioOnce) {
    auto run = [&](const std::string& name, std::vector<std::string> scenarios) {
        const fs::path folder = root_ / name;
        fs::create_directories(folder);
        for (const std::string& s : scenarios) {
            LandingReport rep;
            rep.scenario = s;
            std::string error;
            EXPECT_TRUE(
                WriteJsonFile(ReportToJson(rep), (folder / (s + ".json")).string(), &error));
        }
        std::ofstream(folder / "summary.json") << "{}";
        return folder.string();
    };
    const std::string one = run("one", {"kjfk-22r", "egll-09l"});
    const std::string two = run("two", {"ksfo-28r"});
    const std::string again = run("again", {"egll-09l"});
    const MergedRuns merged = MergeRuns({one, two});
    EXPECT_FALSE(merged.campaign);
    ASSERT_EQ(merged.reports.size(), 3u);
    EXPECT_EQ(merged.reports[0].scenario, "egll-09l");
    const std::string error = MergeError({one, again});
    EXPECT_NE(error.find("egll-09l was flown twice"), std::string::npos) << error;
}

}  // namespace
}  // namespace corvane::harness
