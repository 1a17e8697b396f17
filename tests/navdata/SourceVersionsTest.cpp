// SPDX-License-Identifier: MIT
//
// The versions of apt.dat and nav.dat that the converter reads, on the hand-made samples in
// samples/, and the installed simulators it finds them in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/navdata/GzipFile.h"
#include "tools/navdata/AirportDatabaseBuilder.h"
#include "tools/navdata/ConversionError.h"
#include "tools/navdata/DatFileReader.h"
#include "tools/navdata/SimulatorInstallation.h"

namespace corvane::navdata::convert {
namespace {

using corvane::navdata::testing::TempFolder;
using ::testing::HasSubstr;

const std::string kSamples = CORVANE_TEST_NAVDATA_SAMPLES "/";

struct Built {
    AirportDatabase db;
    Diagnostics diagnostics;
};

Built Build(const std::string& apt, const std::string& nav) {
    Built b;
    const AptDatContents a = ReadAptDatFile(kSamples + apt, b.diagnostics);
    const NavDatContents n = ReadNavDatFile(kSamples + nav, b.diagnostics);
    DatabaseReport report;
    b.db = BuildAirportDatabase(a, n, DatabaseOptions{}, report);
    return b;
}

// The same airport, ATIS, ILS, VOR and NDB written in each layout give the same database.
TEST(SourceVersions, EveryVersionOfTheSameDataGivesTheSameDatabase) {
    const Built reference = Build("apt-1000.dat", "nav-810.dat");
    ASSERT_EQ(reference.diagnostics.malformedCount(), 0);
    ASSERT_EQ(reference.db.AirportCount, 1);
    EXPECT_EQ(reference.db.Airports[1].name, "Sample Field (KXYZ)");
    ASSERT_EQ(reference.db.Airports[1].atisNumber, 1);
    EXPECT_DOUBLE_EQ(reference.db.AtisStations[1].frequency, 128.07);
    ASSERT_EQ(reference.db.IlsCount, 1);
    EXPECT_EQ(reference.db.IlsStations[1].approachHeading, 32);
    EXPECT_EQ(reference.db.VorCount, 1);
    EXPECT_EQ(reference.db.NdbCount, 1);

    const std::vector<std::pair<std::string, std::string>> versions{
        {"apt-1100.dat", "nav-1100.dat"},
        {"apt-1200.dat", "nav-1200.dat"},
        {"apt-1200.dat", "nav-810.dat"},
        {"apt-1000.dat", "nav-1200.dat"}};
    for (const auto& [apt, nav] : versions) {
        const Built b = Build(apt, nav);
        EXPECT_EQ(b.diagnostics.malformedCount(), 0) << apt << " " << nav;
        EXPECT_TRUE(b.db == reference.db) << apt << " " << nav;
    }
}

// FlightGear's nav.dat (data cycle 2013.10, as Debian ships it) has four glide slope lines
// without their frequency: each is reported with its line and skipped, the whole one is kept.
TEST(SourceVersions, MalformedGlideSlopeLinesOfTheSourceAreReportedAndSkipped) {
    Diagnostics diagnostics;
    const NavDatContents nav = ReadNavDatFile(kSamples + "nav-810-malformed-gs.dat", diagnostics);
    ASSERT_EQ(nav.glideSlopes.size(), 1u);
    EXPECT_EQ(nav.glideSlopes[0].ident, "IXYZ");
    EXPECT_EQ(diagnostics.malformedCount(), 4);
    ASSERT_EQ(diagnostics.messages().size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const std::string& message = diagnostics.messages()[std::size_t(i)];
        EXPECT_THAT(message, HasSubstr("nav-810-malformed-gs.dat:" + std::to_string(4 + i) + ":"));
        EXPECT_THAT(message, HasSubstr("glide slope"));
    }
    Diagnostics strict(true);
    EXPECT_THROW(ReadNavDatFile(kSamples + "nav-810-malformed-gs.dat", strict), ConversionError);
}

TEST(SourceVersions, AnUnknownVersionIsRefusedNamingTheKnownOnes) {
    TempFolder folder;
    Diagnostics diagnostics;
    for (const auto& [name, text, known] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"apt.dat", "I\n1300 Version\n99\n", "1000 and 1100 and 1200"},
             {"nav.dat", "I\n1300 Version\n99\n", "810 and 1000 and 1100 and 1150 and 1200"}}) {
        const std::string path = folder.Write(name, text);
        try {
            if (name == "apt.dat") {
                ReadAptDatFile(path, diagnostics);
            } else {
                ReadNavDatFile(path, diagnostics);
            }
            ADD_FAILURE() << name << " 1300 was read";
        } catch (const ConversionError& e) {
            EXPECT_THAT(e.what(), HasSubstr("version 1300 is not supported"));
            EXPECT_THAT(e.what(), HasSubstr(known));
        }
    }
}

void Touch(const TempFolder& folder, const std::string& relative) {
    std::filesystem::create_directories(std::filesystem::path(folder.Path(relative)).parent_path());
    folder.Write(relative, "x");
}

TEST(SourceVersions, FlightGearFilesAreFoundUnderTheRootOrSaidWhatIsMissing) {
    TempFolder root;
    Touch(root, "fg/Airports/apt.dat.gz");
    Touch(root, "fg/Navaids/nav.dat.gz");
    // Given, then from $FG_ROOT when not given.
    for (const auto& [given, variable] : std::vector<std::pair<std::string, std::string>>{
             {root.Path("fg"), ""}, {"", root.Path("fg")}}) {
        const InstalledSourceFiles f = FindFlightGearFiles(given, variable.c_str());
        EXPECT_EQ(f.apt, root.Path("fg") + "/Airports/apt.dat.gz");
        EXPECT_EQ(f.nav, root.Path("fg") + "/Navaids/nav.dat.gz");
    }
    Touch(root, "plain/Airports/apt.dat");
    Touch(root, "plain/Navaids/nav.dat");
    EXPECT_EQ(FindFlightGearFiles(root.Path("plain"), nullptr).nav,
              root.Path("plain") + "/Navaids/nav.dat");

    // A root without the navaids names the folder, the files and the option.
    Touch(root, "half/Airports/apt.dat.gz");
    try {
        FindFlightGearFiles(root.Path("half"), nullptr);
        ADD_FAILURE() << "a root without Navaids/ was taken";
    } catch (const ConversionError& e) {
        EXPECT_THAT(e.what(), HasSubstr(root.Path("half")));
        EXPECT_THAT(e.what(), HasSubstr("Navaids/nav.dat.gz"));
        EXPECT_THAT(e.what(), HasSubstr("--flightgear FG_ROOT"));
    }
}

TEST(SourceVersions, FlightGearMissingFromDebiansPlaceSaysWhatToInstall) {
    if (std::filesystem::exists(kDebianFlightGearRoot)) {
        GTEST_SKIP() << "FlightGear's data is installed here";
    }
    try {
        FindFlightGearFiles("", nullptr);
        ADD_FAILURE() << "found FlightGear's data that is not installed";
    } catch (const ConversionError& e) {
        EXPECT_THAT(e.what(), HasSubstr("apt-get install flightgear-data-base"));
        EXPECT_THAT(e.what(), HasSubstr(kDebianFlightGearRoot));
    }
}

TEST(SourceVersions, XPlaneFilesOfVersions11And12AreFoundWithNavigationUpdatesFirst) {
    TempFolder root;
    // X-Plane 12: Global Scenery; X-Plane 11: Custom Scenery/Global Airports.
    Touch(root, "xp12/Global Scenery/Global Airports/Earth nav data/apt.dat");
    Touch(root, "xp12/Resources/default data/earth_nav.dat");
    Touch(root, "xp11/Custom Scenery/Global Airports/Earth nav data/apt.dat");
    Touch(root, "xp11/Resources/default data/earth_nav.dat");
    Touch(root, "xp11/Custom Data/earth_nav.dat");
    InstalledSourceFiles f = FindXPlaneFiles(root.Path("xp12"));
    EXPECT_EQ(f.apt, root.Path("xp12") + "/Global Scenery/Global Airports/Earth nav data/apt.dat");
    EXPECT_EQ(f.nav, root.Path("xp12") + "/Resources/default data/earth_nav.dat");
    f = FindXPlaneFiles(root.Path("xp11"));
    EXPECT_EQ(f.apt, root.Path("xp11") + "/Custom Scenery/Global Airports/Earth nav data/apt.dat");
    EXPECT_EQ(f.nav, root.Path("xp11") + "/Custom Data/earth_nav.dat");

    Touch(root, "bare/Resources/default data/earth_nav.dat");
    for (const std::string& folder : {root.Path("bare"), root.Path("none")}) {
        try {
            FindXPlaneFiles(folder);
            ADD_FAILURE() << folder << " was taken";
        } catch (const ConversionError& e) {
            EXPECT_THAT(e.what(), HasSubstr(folder));
            EXPECT_THAT(e.what(), HasSubstr("--xplane DIR"));
        }
    }
}

}  // namespace
}  // namespace corvane::navdata::convert
