// Editing a mimeapps.list in place: only the lists of the types asked about change, and only
// in the one entry asked about.
#include "platform/linux/XdgFileAssociations.h"

#include <algorithm>
#include <optional>

namespace qinglan::platform {

namespace {

constexpr std::string_view kDefaultsGroup = "[Default Applications]";

struct Line {
    std::string body; // without its line end
    std::string end;  // "\n", "\r\n" or "" for a last line without one
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view body = text.substr(0, nl);
        std::string end = nl == std::string_view::npos ? "" : "\n";
        if (!end.empty() && !body.empty() && body.back() == '\r') {
            body.remove_suffix(1);
            end = "\r\n";
        }
        lines.push_back({std::string(body), end});
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    }
    return lines;
}

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string> splitList(std::string_view value) {
    std::vector<std::string> items;
    while (!value.empty()) {
        const auto semi = value.find(';');
        const auto item = trimmed(value.substr(0, semi));
        if (!item.empty()) items.emplace_back(item);
        value = semi == std::string_view::npos ? std::string_view{} : value.substr(semi + 1);
    }
    return items;
}

// Written without blanks around "=": xdg-mime only finds a key that starts its line and is
// followed by "=" at once.
std::string listLine(std::string_view key, const std::vector<std::string>& items) {
    std::string line(key);
    line += '=';
    for (const auto& item : items)
        line += item + ";";
    return line;
}

bool isGroupHeader(std::string_view t) {
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

} // namespace

std::string editDefaultApplications(std::string_view text,
                                    std::span<const DefaultApplication> changes,
                                    std::string_view desktopId) {
    std::vector<Line> out;
    std::vector<bool> seen(changes.size(), false);
    bool inDefaults = false, inFirstDefaults = false, firstDefaultsSeen = false;
    std::optional<std::size_t> insertAt; // after the last list of the first defaults group

    for (auto& line : splitLines(text)) {
        const auto t = trimmed(line.body);
        if (isGroupHeader(t)) {
            inDefaults = t == kDefaultsGroup;
            inFirstDefaults = inDefaults && !firstDefaultsSeen;
            firstDefaultsSeen = firstDefaultsSeen || inDefaults;
            out.push_back(std::move(line));
            if (inFirstDefaults) insertAt = out.size();
            continue;
        }
        const auto eq = line.body.find('=');
        if (!inDefaults || t.empty() || t.front() == '#' || eq == std::string::npos) {
            out.push_back(std::move(line));
            continue;
        }
        const auto key = trimmed(std::string_view(line.body).substr(0, eq));
        const auto change = std::find_if(changes.begin(), changes.end(),
                                         [&](const auto& c) { return c.mimeType == key; });
        if (change != changes.end()) {
            // A type listed twice is edited in every place: readers differ in which one counts.
            seen[static_cast<std::size_t>(change - changes.begin())] = true;
            const auto items = splitList(std::string_view(line.body).substr(eq + 1));
            std::vector<std::string> wanted;
            if (change->first) wanted.emplace_back(desktopId);
            for (const auto& item : items)
                if (item != desktopId) wanted.push_back(item);
            if (wanted.empty()) continue; // the list held only us: the line goes
            if (wanted != items) line.body = listLine(key, wanted);
        }
        out.push_back(std::move(line));
        if (inFirstDefaults) insertAt = out.size();
    }

    std::vector<Line> added;
    for (std::size_t i = 0; i < changes.size(); ++i)
        if (changes[i].first && !seen[i])
            added.push_back({listLine(changes[i].mimeType, {std::string(desktopId)}), "\n"});
    if (!added.empty()) {
        if (!insertAt) {
            if (!out.empty() && out.back().end.empty()) out.back().end = "\n";
            if (!out.empty() && !trimmed(out.back().body).empty()) out.push_back({"", "\n"});
            out.push_back({std::string(kDefaultsGroup), "\n"});
            insertAt = out.size();
        }
        // The line the new ones follow needs its line end.
        if (*insertAt > 0 && out[*insertAt - 1].end.empty()) out[*insertAt - 1].end = "\n";
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(*insertAt), added.begin(),
                   added.end());
    }

    std::string result;
    for (const auto& line : out)
        result += line.body + line.end;
    return result;
}

} // namespace qinglan::platform
