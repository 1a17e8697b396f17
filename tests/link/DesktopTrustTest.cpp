// SPDX-License-Identifier: MIT
//
// The desktop trusts a directory only when it is the user's own and a window
// answers only the user's own processes. The cases with another user need
// root (the test then acts as user 65534); elsewhere they are skipped.
#include <gtest/gtest.h>

#include <grp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "platform/posix/Desktop.h"
#include "platform/posix/DesktopTrust.h"
#include "platform/posix/DesktopWire.h"

namespace corvane::desktop {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kOtherUser = 65534;

bool IsRoot() {
    return ::geteuid() == 0;
}

class DesktopTrustTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvane-trust-test-XXXXXX";
        base_ = ::mkdtemp(pattern);
        const char* previous = std::getenv("CORVANE_DESKTOP");
        previous_ = previous ? previous : "";
    }
    void TearDown() override {
        if (previous_.empty()) {
            ::unsetenv("CORVANE_DESKTOP");
        } else {
            ::setenv("CORVANE_DESKTOP", previous_.c_str(), 1);
        }
        std::error_code ignored;
        fs::remove_all(base_, ignored);
    }
    std::string MakeDirectory(const std::string& name, mode_t mode) {
        const std::string path = base_ + "/" + name;
        ::mkdir(path.c_str(), 0700);
        ::chmod(path.c_str(), mode);
        return path;
    }
    std::string base_;
    std::string previous_;
};

TEST_F(DesktopTrustTest, OnlyARealPrivateDirectoryOfTheUserIsTrusted) {
    struct Case {
        const char* what;
        std::function<std::string()> make;  // returns the path to judge
        const char* reason;                 // part of the reason; "" when trusted
        bool needsRoot;
    };
    const Case cases[] = {
        {"own, 0700", [&] { return MakeDirectory("own", 0700); }, "", false},
        {"group may read", [&] { return MakeDirectory("g", 0750); }, "mode 0750, must be 0700",
         false},
        {"others may enter", [&] { return MakeDirectory("o", 0701); }, "mode 0701", false},
        {"symbolic link to a good one",
         [&] {
             const std::string target = MakeDirectory("target", 0700);
             fs::create_directory_symlink(target, base_ + "/link");
             return base_ + "/link";
         },
         "symbolic link", false},
        {"a file",
         [&] {
             std::FILE* f = std::fopen((base_ + "/file").c_str(), "w");
             std::fclose(f);
             ::chmod((base_ + "/file").c_str(), 0600);
             return base_ + "/file";
         },
         "not a directory", false},
        {"another user's, 0700",
         [&] {
             const std::string path = MakeDirectory("theirs", 0700);
             EXPECT_EQ(::chown(path.c_str(), kOtherUser, kOtherUser), 0);
             return path;
         },
         "belongs to user 65534", true},
        {"missing", [&] { return base_ + "/missing"; }, "cannot examine it", false},
    };
    for (const auto& c : cases) {
        if (c.needsRoot && !IsRoot())
            continue;
        const std::string reason = DirectoryDistrust(c.make(), ::geteuid());
        if (*c.reason == '\0') {
            EXPECT_EQ(reason, "") << c.what;
        } else {
            EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
        }
    }
}

TEST_F(DesktopTrustTest, WindowsAreNeitherPublishedNorFoundInAnUntrustedDirectory) {
    // A fresh directory is made private and used.
    const std::string own = base_ + "/desktop";
    ::setenv("CORVANE_DESKTOP", own.c_str(), 1);
    PublishedWindow window("FS98MAIN", "Flight Simulator 98", 0, nullptr, nullptr);
    ASSERT_TRUE(window.IsPublished()) << window.Error();
    struct stat st {};
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_NE(FindWindowByClass("FS98MAIN"), 0u);

    std::vector<std::string> untrusted;
    fs::create_directory_symlink(own, base_ + "/link");
    untrusted.push_back(base_ + "/link");  // the same windows, reached through a link
    untrusted.push_back(MakeDirectory("open", 0777));
    if (IsRoot()) {
        const std::string theirs = MakeDirectory("theirs", 0700);
        ASSERT_EQ(::chown(theirs.c_str(), kOtherUser, kOtherUser), 0);
        untrusted.push_back(theirs);
    }
    for (const auto& dir : untrusted) {
        ::setenv("CORVANE_DESKTOP", dir.c_str(), 1);
        EXPECT_EQ(FindWindowByClass("FS98MAIN"), 0u) << dir;
        EXPECT_NE(DesktopDirectoryProblem().find(dir), std::string::npos) << dir;
        PublishedWindow refused("FS98MAIN", "Flight Simulator 98", 0, nullptr, nullptr);
        EXPECT_FALSE(refused.IsPublished()) << dir;
        EXPECT_NE(refused.Error().find("the desktop directory " + dir + " cannot be trusted"),
                  std::string::npos)
            << refused.Error();
    }
}

// A child process connects to the window's socket, as this user or as another
// one, sends a well-formed message and tells by its exit status whether it got
// an answer (1) or not (0).
int SendFromChild(const std::string& socketPath, bool asOtherUser) {
    pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    if (asOtherUser &&
        (::setgroups(0, nullptr) != 0 || ::setresgid(kOtherUser, kOtherUser, kOtherUser) != 0 ||
         ::setresuid(kOtherUser, kOtherUser, kOtherUser) != 0)) {
        ::_exit(3);
    }
    int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath.c_str());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        ::_exit(4);
    wire::Request request;
    request.sequence = 7;
    request.deadlineNs = INT64_MAX;
    request.message.name = "FsasmLib:IPC";
    const auto bytes = wire::EncodeRequest(request);
    if (::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) != ssize_t(bytes.size()))
        ::_exit(0);
    pollfd p{fd, POLLIN, 0};
    char reply[wire::kReplySize];
    if (::poll(&p, 1, 2000) == 1 && ::recv(fd, reply, sizeof reply, 0) == ssize_t(sizeof reply)) {
        ::_exit(1);
    }
    ::_exit(0);
}

// The cheap test of a handle that the host's window rectangle uses: it finds
// what DescribeWindow finds, for windows of the process and published ones,
// while they stand and after they are gone.
TEST_F(DesktopTrustTest, WindowExistsAnswersAsDescribeWindow) {
    ::setenv("CORVANE_DESKTOP", (base_ + "/desktop").c_str(), 1);
    auto agree = [](WindowHandle h) {
        EXPECT_EQ(WindowExists(h), DescribeWindow(h).has_value()) << "handle " << h;
        return WindowExists(h);
    };
    WindowHandle inProcess = 0;
    WindowHandle published = 0;
    {
        PublishedWindow own("OwnClass", "Own", 0, nullptr, nullptr, /*inProcess=*/true);
        PublishedWindow shared("SharedClass", "Shared", 0, nullptr, nullptr);
        ASSERT_TRUE(own.IsPublished() && shared.IsPublished());
        inProcess = FindWindowByClass("OwnClass");
        published = FindWindowByClass("SharedClass");
        EXPECT_TRUE(agree(inProcess));
        EXPECT_TRUE(agree(published));
    }
    EXPECT_FALSE(agree(inProcess));
    EXPECT_FALSE(agree(published));
    EXPECT_FALSE(agree(0));
    EXPECT_FALSE(agree(std::max(inProcess, published) + 1000));
}

TEST_F(DesktopTrustTest, AWindowHandlesMessagesOnlyFromItsOwnUser) {
    if (!IsRoot())
        GTEST_SKIP() << "acting as another user needs root";
    const std::string own = base_ + "/desktop";
    ::setenv("CORVANE_DESKTOP", own.c_str(), 1);
    int handled = 0;
    PublishedWindow window(
        "FS98MAIN", "", 0, [&](const Message&) { return ++handled, 1u; }, nullptr);
    ASSERT_TRUE(window.IsPublished()) << window.Error();
    auto entry = DescribeWindow(FindWindowByClass("FS98MAIN"));
    ASSERT_TRUE(entry);
    // Open the way to the socket, as a careless umask or a moved socket would:
    // the peer's credentials must keep the other user out on their own.
    ::chmod(base_.c_str(), 0711);
    ::chmod(own.c_str(), 0711);
    ::chmod(entry->endpoint.c_str(), 0777);

    for (bool other : {false, true}) {
        handled = 0;
        const pid_t child = SendFromChild(entry->endpoint, other);
        ASSERT_GT(child, 0);
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (::waitpid(child, &status, WNOHANG) == 0 &&
               std::chrono::steady_clock::now() < deadline) {
            window.ProcessPending(20);
        }
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), other ? 0 : 1) << (other ? "other user" : "same user");
        EXPECT_EQ(handled, other ? 0 : 1) << (other ? "other user" : "same user");
    }
}

}  // namespace
}  // namespace corvane::desktop
