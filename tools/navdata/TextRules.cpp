// SPDX-License-Identifier: MIT
#include "tools/navdata/TextRules.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "navdata/AirportDatabase.h"

namespace corvane::navdata::convert {

namespace {

// Code page 1252 bytes 0x80 to 0x9F and the characters they stand for (0 where undefined).
constexpr char32_t Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char AnsiByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(static_cast<unsigned char>(c));
    }
    for (int i = 0; i < 32; ++i) {
        if (Cp1252High[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

// Decodes UTF-8; false when the text is not valid UTF-8 or is plain ASCII.
bool DecodeUtf8(std::string_view text, std::u32string& out) {
    bool beyondAscii = false;
    out.clear();
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        int extra;
        char32_t c;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
            c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            c = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            c = b & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= text.size()) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) {
                return false;
            }
            c = (c << 6) | (t & 0x3F);
        }
        if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
            (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        out.push_back(c);
        beyondAscii = true;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return beyondAscii;
}

bool IsBlankByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b <= 0x20 || b == 0x7F;
}

}  // namespace

std::string ToAnsiText(std::string_view source) {
    std::string bytes;
    std::u32string decoded;
    if (DecodeUtf8(source, decoded)) {
        bytes.reserve(decoded.size());
        for (char32_t c : decoded) {
            bytes.push_back(AnsiByteOf(c));
        }
    } else {
        bytes.assign(source);
    }
    std::string text;
    text.reserve(bytes.size());
    bool pendingBlank = false;
    for (char c : bytes) {
        if (IsBlankByte(c)) {
            pendingBlank = !text.empty();
            continue;
        }
        if (pendingBlank) {
            text.push_back(' ');
            pendingBlank = false;
        }
        text.push_back(c);
    }
    return text;
}

RowFields::RowFields(std::string_view line) : line_(line) {
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            ++i;
        }
        if (i > start) {
            fields_.push_back(line.substr(start, i - start));
        }
    }
}

std::string_view RowFields::RestFrom(std::size_t i) const {
    if (i >= fields_.size()) {
        return {};
    }
    const std::size_t start = static_cast<std::size_t>(fields_[i].data() - line_.data());
    return line_.substr(start);
}

bool ParseNumber(std::string_view field, double& value) {
    if (!field.empty() && field.front() == '+') {
        field.remove_prefix(1);
    }
    if (field.empty()) {
        return false;
    }
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value,
                                        std::chars_format::general);
    return result.ec == std::errc() && result.ptr == field.data() + field.size() &&
           std::isfinite(value);
}

bool ParseInteger(std::string_view field, long& value) {
    if (!field.empty() && field.front() == '+') {
        field.remove_prefix(1);
    }
    if (field.empty()) {
        return false;
    }
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    return result.ec == std::errc() && result.ptr == field.data() + field.size();
}

int RunwayCodeOfDesignator(std::string_view designator) {
    std::size_t digits = 0;
    while (digits < designator.size() && digits < 3 && designator[digits] >= '0' &&
           designator[digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || digits > 2) {
        return -1;
    }
    int number = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        number = number * 10 + (designator[i] - '0');
    }
    if (number < 1 || number > 36) {
        return -1;
    }
    const std::string_view suffix = designator.substr(digits);
    if (suffix.empty()) {
        return number;
    }
    if (suffix == "L") {
        return number + RunwayCodeLeft;
    }
    if (suffix == "R") {
        return number + RunwayCodeRight;
    }
    if (suffix == "C") {
        return number + RunwayCodeCentre;
    }
    return -1;
}

}  // namespace corvane::navdata::convert
