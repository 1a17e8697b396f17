// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/progress/ProgressBar.h"

namespace corvane::progress {
namespace {

TEST(ProgressBar, BarCountAndTimeLeft) {
    struct Case {
        long done, total;
        double elapsed;
        std::string expected;
    };
    const std::vector<Case> cases{
        {0, 4, 0.0, "[........] 0/4  --:-- left  x"},
        {1, 4, 10.0, "[##......] 1/4  0:30 left  x"},  // 10 s a step, three to go
        {3, 4, 90.0, "[######..] 3/4  0:30 left  x"},
        {4, 4, 40.0, "[########] 4/4  0:00 left  x"},
        {9, 4, 1.0, "[########] 4/4  0:00 left  x"},        // past the end: full
        {1, 2, 3725.0, "[####....] 1/2  1:02:05 left  x"},  // hours shown from an hour on
        {-1, 0, 1.0, "[........] 0/1  --:-- left  x"},      // nonsense counts stay in range
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatBar(c.done, c.total, c.elapsed, 8, "x"), c.expected)
            << c.done << "/" << c.total;
    }
    EXPECT_EQ(FormatDuration(-1.0), "--:--");
    EXPECT_EQ(FormatDuration(59.6), "1:00");
}

std::string ReadBack(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, file))
        text += buffer;
    return text;
}

// Into a file (not a terminal): plain lines without control characters, one per tenth.
TEST(ProgressBar, PlainLinesWhenNotATerminal) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        ProgressBar bar(file, 100);
        EXPECT_FALSE(bar.IsTerminal());
        for (long done = 0; done <= 100; ++done)
            bar.Update(done, "reading");
        bar.Print("a result");
    }
    const std::string text = ReadBack(file);
    std::fclose(file);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.find('\033'), std::string::npos);
    long lines = 0;
    for (char c : text)
        lines += c == '\n';
    EXPECT_EQ(lines, 12);  // 0 %, 10 % ... 100 % and the result
    EXPECT_NE(text.find("reading: 50/100 (50 %)"), std::string::npos);
    EXPECT_NE(text.find("a result\n"), std::string::npos);

    // Switched off: nothing at all.
    std::FILE* quiet = std::tmpfile();
    {
        ProgressBar bar(quiet, 10, false);
        bar.Update(5, "x");
        bar.Print("y");
    }
    EXPECT_EQ(ReadBack(quiet), "");
    std::fclose(quiet);
}

}  // namespace
}  // namespace corvane::progress
