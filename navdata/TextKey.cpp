// SPDX-License-Identifier: MIT
#include "navdata/TextKey.h"

namespace corvane::navdata {

namespace {
constexpr TextKeyTable Key = BuildTextKeyTable();
}

void UnscrambleTextInPlace(std::string& text) {
    int index = Key.startIndex;
    for (char& c : text) {
        c = static_cast<char>(static_cast<std::uint8_t>(c) ^ Key.key[index]);
        index = index == 1 ? Key.startIndex : index - 1;
    }
}

std::string UnscrambleText(std::string_view text) {
    std::string result(text);
    UnscrambleTextInPlace(result);
    return result;
}

}  // namespace corvane::navdata
