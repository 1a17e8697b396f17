// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <random>
#include <string>

#include "navdata/PositionText.h"

namespace corvane::navdata {
namespace {

struct NumberCase {
    double value;
    const char* text;
};

TEST(NumberText, Table) {
    const NumberCase cases[] = {
        {0.0, " 0"},
        {-0.0, " 0"},
        {3.0, " 3"},
        {0.5, " .5"},
        {-0.5, "-.5"},
        {-1.7, "-1.7"},
        {128.07, " 128.07"},
        {116.7, " 116.7"},
        {0.1 + 0.2, " .3"},  // 15 significant digits hide the binary rounding
        {1.0 / 3.0, " .333333333333333"},
        {2.0 / 3.0, " .666666666666667"},
        {123456789012345.0, " 123456789012345"},
        {1234567890123456.0, " 1234567890123460"},  // 16 digits rounded to 15
        {1e20, " 100000000000000000000"},
        {1e-7, " .0000001"},
        {0.000123, " .000123"},
        {27.0, " 27"},
        {-33.0, "-33"},
        {99.99999999999999, " 100"},
        {1e15, " 1000000000000000"},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(NumberText(c.value), c.text) << c.value;
    }
}

// The text by its definition, from the C library's 15 significant digits:
// the digits without trailing zeros, placed by the exponent.
std::string FifteenDigitText(double x) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(x));
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            digits += *p;
    }
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string text = x < 0 ? "-" : " ";
    if (x == 0)
        return text + "0";
    if (exponent < 0)
        return text + "." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole)
        return text + digits + std::string(whole - digits.size(), '0');
    return text + digits.substr(0, whole) + "." + digits.substr(whole);
}

TEST(NumberText, EveryMagnitudeReadsAsItsFifteenSignificantDigits) {
    // The readouts' values (whole numbers, tenths, hundredths, thousandths at
    // every magnitude up to past 10^12) and plain doubles, on both signs.
    std::mt19937_64 random(26);
    std::uniform_real_distribution<double> exponent(-9.0, 14.0);
    const double scales[] = {1, 10, 100, 1000, 10000};
    for (int i = 0; i < 300000; ++i) {
        double x = std::pow(10.0, exponent(random));
        if (i % 5 != 4) {
            const double scale = scales[static_cast<std::size_t>(i % 5)];
            x = std::floor(x * scale) / scale;
        }
        if (random() & 1)
            x = -x;
        ASSERT_EQ(NumberText(x), FifteenDigitText(x)) << std::scientific << x;
    }
}

// A locale that writes numbers with a decimal comma.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(NumberText, IgnoresTheUsersLocale) {
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    const std::string text = NumberText(1234.5);
    std::locale::global(previous);
    EXPECT_EQ(text, " 1234.5");
}

struct CodeCase {
    int code;
    const char* text;
};

TEST(RunwayDesignatorText, Table) {
    const CodeCase cases[] = {
        {0, " 0"},    {9, " 9"},     {27, " 27"},   {64, " 64"},  {65, " 1L"},   {128, " 64L"},
        {129, " 1R"}, {155, " 27R"}, {192, " 64R"}, {193, " 1C"}, {210, " 18C"}, {255, " 63C"},
    };
    for (const CodeCase& c : cases) {
        EXPECT_EQ(RunwayDesignatorText(c.code), c.text) << c.code;
    }
}

struct AngleCase {
    const char* name;
    double value;
    const char* text;
};

TEST(LatitudeText, Table) {
    const AngleCase cases[] = {
        {"example", 51.4775, "N  51* 28' 39\""},
        {"zero is north", 0.0, "N  0* 0' 0\""},
        {"south", -33.5, "S  33* 30' 0\""},
        {"tenths rounded", 10.5000138889, "N  10* 30' .1\""},  // 0.05 s rounds up
        {"seconds never carried into minutes", 10.999999, "N  10* 59' 60\""},
        {"pole", 90.0, "N  90* 0' 0\""},
    };
    for (const AngleCase& c : cases) {
        EXPECT_EQ(LatitudeText(c.value), c.text) << c.name;
    }
}

TEST(LongitudeText, Table) {
    const AngleCase cases[] = {
        {"example", -0.4614, "W  0* 27' 41\""},
        {"zero is east", 0.0, "E  0* 0' 0\""},
        {"seconds cut, not rounded", 10.999999, "E  10* 59' 59.9\""},
        {"far east", 179.5, "E  179* 30' 0\""},
        {"west", -122.25, "W  122* 15' 0\""},
    };
    for (const AngleCase& c : cases) {
        EXPECT_EQ(LongitudeText(c.value), c.text) << c.name;
    }
}

}  // namespace
}  // namespace corvane::navdata
