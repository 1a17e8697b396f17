// SPDX-License-Identifier: MIT
//
// The stand-in registry file: written and read back, as a registry export
// writes it, without regard to the case of keys and names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/posix/RegistryFile.h"
#include "tests/startup/ProgramFixture.h"

namespace corvane::desktop {
namespace {

using host::RegistryRoot;
constexpr const char* kKey = "Software\\CLASSES\\flight simulator";

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class RegistryFileTest : public ::testing::Test {
  protected:
    corvane::testing::TempFolder folder;
    std::string file = folder.Path() + "config/corvane/registry.ini";
};

TEST_F(RegistryFileTest, WrittenStringIsReadBackWithItsTerminatingZero) {
    ASSERT_TRUE(WriteRegistryString(file, RegistryRoot::LocalMachine, kKey, "defaulticon",
                                    "/opt/FS98/FLTSIM98.EXE,1"));
    auto v = ReadRegistryValue(file, RegistryRoot::LocalMachine,
                               "software\\classes\\FLIGHT SIMULATOR", "DefaultIcon");
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->isString);
    EXPECT_EQ(v->text, std::string("/opt/FS98/FLTSIM98.EXE,1\0", 25));
    EXPECT_FALSE(ReadRegistryValue(file, RegistryRoot::CurrentUser, kKey, "defaulticon"));
    EXPECT_FALSE(ReadRegistryValue(file, RegistryRoot::LocalMachine, kKey, "other"));
    EXPECT_FALSE(ReadRegistryValue(folder.Path() + "none.ini", RegistryRoot::LocalMachine, kKey,
                                   "defaulticon"));
}

TEST_F(RegistryFileTest, BackslashesAndQuotesSurviveTheRoundTrip) {
    const std::string value = "C:\\Program Files\\\"FS98\"\\fltsim98.exe";
    ASSERT_TRUE(WriteRegistryString(file, RegistryRoot::LocalMachine, kKey, "defaulticon", value));
    EXPECT_NE(Slurp(file).find("\"C:\\\\Program Files\\\\\\\"FS98\\\"\\\\fltsim98.exe\""),
              std::string::npos);
    auto v = ReadRegistryValue(file, RegistryRoot::LocalMachine, kKey, "defaulticon");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->text, value + '\0');
}

TEST_F(RegistryFileTest, RewritingAValueKeepsEverythingElse) {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    {
        std::ofstream out(file);
        out << "; my notes\r\n"
               "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
               "\"a\"=\"1\"\r\n"
               "\r\n"
               "[HKEY_LOCAL_MACHINE\\Software\\CLASSES\\flight simulator]\r\n"
               "\"DefaultIcon\"=\"/old/fltsim98.exe\"\r\n"
               "\"kind\"=dword:00000002\r\n"
               "\"bytes\"=hex:01,02,\\\r\n"
               "  03\r\n";
    }
    ASSERT_TRUE(WriteRegistryString(file, RegistryRoot::LocalMachine, kKey, "defaulticon",
                                    "/new/fltsim98.exe"));
    const std::string text = Slurp(file);
    EXPECT_NE(text.find("; my notes"), std::string::npos);
    EXPECT_EQ(text.find("/old/"), std::string::npos);
    EXPECT_EQ(ReadRegistryValue(file, RegistryRoot::LocalMachine, kKey, "defaulticon")->text,
              std::string("/new/fltsim98.exe\0", 18));
    EXPECT_EQ(ReadRegistryValue(file, RegistryRoot::CurrentUser, "Software\\Other", "a")->text,
              std::string("1\0", 2));
    auto kind = ReadRegistryValue(file, RegistryRoot::LocalMachine, kKey, "kind");
    ASSERT_TRUE(kind);
    EXPECT_FALSE(kind->isString);
    EXPECT_EQ(kind->text, std::string("\x02\0\0\0", 4));
    auto bytes = ReadRegistryValue(file, RegistryRoot::LocalMachine, kKey, "bytes");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->text, "\x01\x02\x03");
    // Nothing is left beside the file.
    int entries = 0;
    for (const auto& e :
         std::filesystem::directory_iterator(std::filesystem::path(file).parent_path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(RegistryFileTest, NewValueGoesIntoItsExistingKey) {
    ASSERT_TRUE(WriteRegistryString(file, RegistryRoot::LocalMachine, kKey, "a", "1"));
    ASSERT_TRUE(WriteRegistryString(file, RegistryRoot::CurrentUser, "Software\\X", "b", "2"));
    ASSERT_TRUE(WriteRegistryString(file, RegistryRoot::LocalMachine, kKey, "c", "3"));
    const std::string text = Slurp(file);
    EXPECT_LT(text.find("\"c\"="), text.find("[HKEY_CURRENT_USER"));
    EXPECT_EQ(ReadRegistryValue(file, RegistryRoot::LocalMachine, kKey, "c")->text,
              std::string("3\0", 2));
}

// A line ending in '\' goes on in the next line (hex data); a value set in the
// key must not become the rest of such a line, also when the file ends with one.
TEST_F(RegistryFileTest, ValueSetAfterALineThatGoesOnIsReadBack) {
    const char* const files[] = {
        "[HKLM\\Software\\CLASSES\\flight simulator]\n\"x\"=hex:01,\\\n  02\n[broken\\\n",
        "[HKLM\\Software\\CLASSES\\flight simulator]\n\"x\"=hex:01,\\\n  02\n\"y\"=\"1\"\n",
        "; comment\n[hklm\\software\\classes\\FLIGHT SIMULATOR]\n\"DefaultIcon\" 1\"\n"
        "[HKEY_LOCAL_MACHsim98\\",  // found by the registry fuzz target
        "[HKLM\\Software\\CLASSES\\flight simulator]\n\"x\" = \"C:\\\\\n",  // also
        "[HKLM\\Software\\CLASSES\\flight simulator]\n\"DefaultIcon\" = \"C:\\\\\n\xff" "1",
    };
    for (const char* text : files) {
        std::filesystem::create_directories(folder.Path() + "config/corvane");
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
        ASSERT_TRUE(WriteRegistryString(file, RegistryRoot::LocalMachine, kKey, "defaulticon",
                                        "/opt/fs98/fltsim98.exe,1"));
        const auto value = ReadRegistryValue(file, RegistryRoot::LocalMachine, kKey, "defaulticon");
        ASSERT_TRUE(value) << text << "\nbecame\n" << Slurp(file);
        EXPECT_EQ(value->text, std::string("/opt/fs98/fltsim98.exe,1\0", 25)) << text;
        const auto x = ReadRegistryValue(file, RegistryRoot::LocalMachine, kKey, "x");
        if (x) {
            EXPECT_EQ(x->text, "\x01\x02") << text;
        }
    }
}

TEST_F(RegistryFileTest, UnwritableLocationIsAFailureWithAReason) {
    const std::string blocked = folder.Path() + "plain-file";
    { std::ofstream(blocked) << "x"; }
    std::string error;
    EXPECT_FALSE(WriteRegistryString(blocked + "/registry.ini", RegistryRoot::LocalMachine, kKey,
                                     "a", "1", &error));
    EXPECT_NE(error.find("plain-file"), std::string::npos);
}

TEST_F(RegistryFileTest, LocationComesFromTheEnvironment) {
    // Restores the variables it changes.
    struct SavedVariable {
        std::string name;
        bool set;
        std::string value;
        explicit SavedVariable(const char* n) : name(n) {
            const char* v = std::getenv(n);
            set = v != nullptr;
            value = v ? v : "";
        }
        ~SavedVariable() {
            if (set) {
                ::setenv(name.c_str(), value.c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    } registry("CORVANE_REGISTRY"), config("XDG_CONFIG_HOME"), home("HOME");
    ::setenv("CORVANE_REGISTRY", "/somewhere/reg.ini", 1);
    EXPECT_EQ(RegistryFilePath(), "/somewhere/reg.ini");
    ::unsetenv("CORVANE_REGISTRY");
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(RegistryFilePath(), "/cfg/corvane/registry.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/pilot", 1);
    EXPECT_EQ(RegistryFilePath(), "/home/pilot/.config/corvane/registry.ini");
}

}  // namespace
}  // namespace corvane::desktop
