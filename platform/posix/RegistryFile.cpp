// SPDX-License-Identifier: MIT
#include "platform/posix/RegistryFile.h"

#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace corvane::desktop {
namespace {

std::string Trim(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return std::string(s.substr(b, e - b));
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool RootMatches(std::string_view name, host::RegistryRoot root) {
    if (root == host::RegistryRoot::LocalMachine) {
        return SameText(name, "HKEY_LOCAL_MACHINE") || SameText(name, "HKLM");
    }
    return SameText(name, "HKEY_CURRENT_USER") || SameText(name, "HKCU");
}

// The key path of a section header line "[ROOT\key]" when it names root.
std::optional<std::string> SectionKey(const std::string& trimmed, host::RegistryRoot root) {
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']')
        return std::nullopt;
    std::string inside = trimmed.substr(1, trimmed.size() - 2);
    std::size_t slash = inside.find('\\');
    std::string rootName = inside.substr(0, slash);
    if (!RootMatches(rootName, root))
        return std::nullopt;
    return slash == std::string::npos ? std::string() : inside.substr(slash + 1);
}

bool IsSection(const std::string& trimmed) {
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

// Reads a quoted text starting at s[pos] == '"', undoing the \\ and \" escapes.
// pos ends after the closing quote. False when the quote is not closed.
bool ReadQuoted(const std::string& s, std::size_t& pos, std::string* out) {
    out->clear();
    if (pos >= s.size() || s[pos] != '"')
        return false;
    for (++pos; pos < s.size(); ++pos) {
        char c = s[pos];
        if (c == '\\' && pos + 1 < s.size() && (s[pos + 1] == '\\' || s[pos + 1] == '"')) {
            out->push_back(s[++pos]);
        } else if (c == '"') {
            ++pos;
            return true;
        } else {
            out->push_back(c);
        }
    }
    return false;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

// The value name of a value line ("@" for the default value), and where its
// data starts (after the '='); nullopt when the line is not a value line.
std::optional<std::string> ValueName(const std::string& trimmed, std::size_t* dataStart) {
    std::string name;
    std::size_t pos = 0;
    if (!trimmed.empty() && trimmed[0] == '@') {
        pos = 1;
    } else if (!ReadQuoted(trimmed, pos, &name)) {
        return std::nullopt;
    }
    while (pos < trimmed.size() && std::isspace(static_cast<unsigned char>(trimmed[pos])))
        ++pos;
    if (pos >= trimmed.size() || trimmed[pos] != '=')
        return std::nullopt;
    *dataStart = pos + 1;
    return name;
}

std::optional<host::RegistryValue> ParseData(const std::string& data) {
    host::RegistryValue value;
    std::string d = Trim(data);
    if (!d.empty() && d[0] == '"') {
        std::size_t pos = 0;
        std::string text;
        if (!ReadQuoted(d, pos, &text))
            return std::nullopt;
        value.isString = true;
        value.text = text;
        value.text.push_back('\0');  // stored with its terminating zero
        return value;
    }
    const std::size_t colon = d.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const std::string type = d.substr(0, colon);
    const std::string rest = d.substr(colon + 1);
    if (SameText(type, "dword")) {
        char* end = nullptr;
        unsigned long n = std::strtoul(rest.c_str(), &end, 16);
        if (end == rest.c_str())
            return std::nullopt;
        for (int i = 0; i < 4; ++i)
            value.text.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
        return value;
    }
    if (SameText(type.substr(0, 3), "hex")) {
        std::stringstream bytes(rest);
        std::string item;
        while (std::getline(bytes, item, ',')) {
            item = Trim(item);
            if (item.empty())
                continue;
            value.text.push_back(static_cast<char>(std::strtoul(item.c_str(), nullptr, 16)));
        }
        return value;
    }
    return std::nullopt;
}

// The file's logical lines: CR LF or LF ends, a leading byte-order mark
// dropped, a trailing backslash joining a line to the next (hex values).
std::vector<std::string> ReadLines(const std::string& path, bool* exists) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    *exists = static_cast<bool>(in);
    if (!in)
        return lines;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        first = false;
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::string RegistryFilePath() {
    if (const char* r = std::getenv("CORVANE_REGISTRY"); r && *r)
        return r;
    if (const char* c = std::getenv("XDG_CONFIG_HOME"); c && *c) {
        return std::string(c) + "/corvane/registry.ini";
    }
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/corvane/registry.ini";
}

std::string RegistryRootName(host::RegistryRoot root) {
    return root == host::RegistryRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

std::optional<host::RegistryValue> ReadRegistryValue(const std::string& path,
                                                     host::RegistryRoot root, std::string_view key,
                                                     std::string_view valueName) {
    bool exists = false;
    const std::vector<std::string> lines = ReadLines(path, &exists);
    bool inKey = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string trimmed = Trim(lines[i]);
        if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#')
            continue;
        if (IsSection(trimmed)) {
            auto sectionKey = SectionKey(trimmed, root);
            inKey = sectionKey && SameText(*sectionKey, key);
            continue;
        }
        if (!inKey)
            continue;
        // Hex data may run over several lines, each but the last ending in '\'.
        while (!trimmed.empty() && trimmed.back() == '\\' && i + 1 < lines.size()) {
            trimmed.pop_back();
            trimmed += Trim(lines[++i]);
        }
        std::size_t dataStart = 0;
        auto name = ValueName(trimmed, &dataStart);
        if (!name || !SameText(*name, valueName))
            continue;
        return ParseData(trimmed.substr(dataStart));
    }
    return std::nullopt;
}

bool WriteRegistryString(const std::string& path, host::RegistryRoot root, std::string_view key,
                         std::string_view valueName, std::string_view value, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    bool exists = false;
    std::vector<std::string> lines = ReadLines(path, &exists);
    const std::string valueLine =
        (valueName.empty() ? std::string("@") : Quote(valueName)) + "=" + Quote(value);

    // Find the key's section and, in it, the value's line.
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> valueAt;
    std::size_t valueEnd = 0;  // the last line of the value's (the line it goes on in)
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string trimmed = Trim(lines[i]);
        if (IsSection(trimmed)) {
            if (sectionLine)
                break;  // the next section: ours has ended
            auto sectionKey = SectionKey(trimmed, root);
            if (sectionKey && SameText(*sectionKey, key))
                sectionLine = i;
            continue;
        }
        if (!sectionLine || trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#')
            continue;
        // A line ending in '\' goes on in the next one, as the reader joins them.
        const std::size_t start = i;
        std::string joined = trimmed;
        while (!joined.empty() && joined.back() == '\\' && i + 1 < lines.size()) {
            joined.pop_back();
            joined += Trim(lines[++i]);
        }
        std::size_t dataStart = 0;
        auto name = ValueName(joined, &dataStart);
        if (name && SameText(*name, valueName) && !valueAt) {
            valueAt = start;
            valueEnd = i;
        }
    }
    if (valueAt) {
        // A hex value may go on in further lines; they go with the old line.
        lines.erase(lines.begin() + std::ptrdiff_t(*valueAt) + 1,
                    lines.begin() + std::ptrdiff_t(valueEnd) + 1);
        lines[*valueAt] = valueLine;
    } else if (sectionLine) {
        // Right under the key's header: a header is never part of a line that
        // goes on, so the new value is always a line of its own there, whatever
        // the lines of the key hold.
        lines.insert(lines.begin() + std::ptrdiff_t(*sectionLine + 1), valueLine);
    } else {
        if (!exists) {
            lines.push_back("; Corvane's stand-in registry (see docs/registry.md).");
        }
        if (!lines.empty() && !Trim(lines.back()).empty())
            lines.emplace_back();
        lines.push_back("[" + RegistryRootName(root) + "\\" + std::string(key) + "]");
        lines.push_back(valueLine);
    }

    std::error_code ec;
    const std::filesystem::path target(path);
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ec);
        if (ec) {
            return fail("cannot create the folder " + target.parent_path().string() + ": " +
                        ec.message());
        }
    }
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return fail("cannot write " + temporary + ": " + std::strerror(errno));
        for (const std::string& line : lines)
            out << line << '\n';
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return fail("cannot write " + temporary + ": " + std::strerror(errno));
        }
    }
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::remove(temporary.c_str());
        return fail("cannot replace " + path + ": " + ec.message());
    }
    return true;
}

bool WriteRegistryString(host::RegistryRoot root, std::string_view key, std::string_view valueName,
                         std::string_view value, std::string* error) {
    return WriteRegistryString(RegistryFilePath(), root, key, valueName, value, error);
}

}  // namespace corvane::desktop
