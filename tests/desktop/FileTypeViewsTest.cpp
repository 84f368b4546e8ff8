// The views of the file types checked against each other: the association page's boxes against
// the start's file-type step and the page's defaults, and the MIME types the desktop backend
// gives them against the installed desktop entry and the system's MIME database.
#include <desktop/FileTypes.h>
#include <platform/linux/XdgFileAssociations.h>
#include <settings/SettingsFields.h>
#include <support/FileText.h>
#include <ui/SettingsOptions.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

using namespace qinglan;

namespace {

// The extensions of the association page's boxes, from their captions (" .avi").
std::vector<std::string> pageExtensions() {
    std::vector<std::string> out;
    for (const auto& row : ui::pageOptions(settings::Page::Association).rows) {
        const std::string caption(row.controls.at(0).caption);
        EXPECT_TRUE(caption.starts_with(" .")) << caption;
        out.push_back(caption.substr(2));
    }
    return out;
}

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> out;
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ';'))
        if (!item.empty()) out.push_back(item);
    return out;
}

} // namespace

TEST(FileTypeViews, EachBoxOfTheAssociationPageAsksTheStartForTheTypeItsCaptionNames) {
    const auto& rows = ui::pageOptions(settings::Page::Association).rows;
    const auto extensions = pageExtensions();
    ASSERT_EQ(rows.size(), 18u);
    std::vector<int> boxes;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        SCOPED_TRACE(extensions[i]);
        ASSERT_EQ(row.binding, ui::Binding::SingleCheck);
        ASSERT_EQ(row.fields.size(), 1u);
        const int box = row.fields.front();
        boxes.push_back(box);
        // This box alone ticked: the start asks for the captioned type and no other.
        const auto choices =
            desktop::fileTypeChoices([box](int field) { return field == box ? "1" : "0"; });
        ASSERT_EQ(choices.size(), rows.size());
        std::vector<std::string> asked;
        for (const auto& choice : choices)
            if (choice.associate) asked.push_back(choice.extension);
        EXPECT_EQ(asked, std::vector<std::string>{extensions[i]});
        // The start goes through the types in the page's order.
        EXPECT_EQ(choices[i].extension, extensions[i]);
    }
    // Restoring the page's defaults writes exactly the boxes the page shows, in its order.
    const auto defaults = settings::pageDefaultOrder(settings::Page::Association);
    EXPECT_EQ(boxes, std::vector<int>(defaults.begin(), defaults.end()));
    std::set<int> onPage;
    for (const auto& f : settings::settingsFields())
        if (f.page == settings::Page::Association) onPage.insert(f.number);
    EXPECT_EQ(onPage, std::set<int>(boxes.begin(), boxes.end()));
}

TEST(FileTypeViews, TheInstalledEntryOpensEveryTypeOfThePageAndNothingElse) {
    const std::string entry = test::readFile(QINGLAN_BUILD_DIR "/packaging/qinglan.desktop");
    const auto at = entry.find("\nMimeType=");
    ASSERT_NE(at, std::string::npos) << entry;
    const auto begin = at + std::string("\nMimeType=").size();
    const auto listed = splitList(entry.substr(begin, entry.find('\n', begin) - begin));

    std::set<std::string> expected;
    for (const auto& extension : pageExtensions()) {
        const std::string type(platform::mimeTypeOfExtension(extension));
        ASSERT_FALSE(type.empty()) << extension;
        EXPECT_NE(std::find(listed.begin(), listed.end(), type), listed.end()) << extension;
        expected.insert(type);
        for (const auto alias : platform::mimeTypeAliases(type))
            expected.emplace(alias);
    }
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), expected);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()).size(), listed.size())
        << "a type listed twice";
}

TEST(FileTypeViews, TheSystemMimeDatabaseFilesEachExtensionUnderItsTypeOrAnotherNameOfIt) {
    std::ifstream globs("/usr/share/mime/globs2");
    if (!globs) GTEST_SKIP() << "no shared MIME database in /usr/share/mime";
    // "weight:type:*.ext" lines; only simple extension globs are of interest.
    std::map<std::string, std::set<std::string>> typesOfExtension;
    for (std::string line; std::getline(globs, line);) {
        const auto first = line.find(':');
        const auto second = line.find(':', first + 1);
        if (line.starts_with('#') || second == std::string::npos) continue;
        const std::string glob = line.substr(second + 1);
        if (glob.starts_with("*.") && glob.find(':') == std::string::npos)
            typesOfExtension[glob.substr(2)].insert(line.substr(first + 1, second - first - 1));
    }
    std::map<std::string, std::string> canonical;
    std::ifstream aliases("/usr/share/mime/aliases");
    for (std::string alias, type; aliases >> alias >> type;)
        canonical[alias] = type;
    const auto sameType = [&](const std::string& ours, const std::string& theirs) {
        const auto canon = [&](const std::string& t) {
            const auto it = canonical.find(t);
            return it == canonical.end() ? t : it->second;
        };
        const auto ourNames = platform::mimeTypeAliases(ours);
        return canon(ours) == canon(theirs) ||
               std::find(ourNames.begin(), ourNames.end(), theirs) != ourNames.end();
    };
    int known = 0;
    for (const auto& extension : pageExtensions()) {
        const auto it = typesOfExtension.find(extension);
        if (it == typesOfExtension.end()) continue; // .dat: no type of its own
        ++known;
        const std::string ours(platform::mimeTypeOfExtension(extension));
        EXPECT_TRUE(std::any_of(it->second.begin(), it->second.end(),
                                [&](const std::string& t) { return sameType(ours, t); }))
            << "." << extension << " is " << *it->second.begin() << ", not " << ours;
    }
    EXPECT_GE(known, 17);
}
