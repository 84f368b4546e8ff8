// The XDG backend on temporary data and config folders, checked with the desktop's own tools:
// desktop-file-validate, GLib's gio, xdg-mime and update-desktop-database.
#include <platform/linux/XdgFileAssociations.h>

#include "support/FileText.h"
#include "support/TempDataDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <map>
#include <optional>
#include <thread>

#include <sys/stat.h>

using namespace qinglan;
using platform::FileTypeChoice;
using platform::XdgFileAssociations;
using test::readFile;
using test::writeFile;
namespace fs = std::filesystem;

namespace {

struct Tool {
    int exitCode = -1;
    std::string out;
};

Tool run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(20000)) return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()).trimmed().toStdString()};
}

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

// A stand-in for the player that records the arguments it was started with.
fs::path fakeProgram(const fs::path& folder, const fs::path& log) {
    const fs::path program = folder / "qinglan";
    writeFile(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + log.string() + "'\n");
    fs::permissions(program, fs::perms::owner_all);
    return program;
}

std::vector<FileTypeChoice> choices(std::initializer_list<std::pair<const char*, bool>> list) {
    std::vector<FileTypeChoice> out;
    for (const auto& [ext, on] : list)
        out.push_back({ext, on});
    return out;
}

std::string defaultFor(const char* mimeType) {
    return run("xdg-mime", {"query", "default", mimeType}).out;
}

int filesIn(const fs::path& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
        ++n;
    return n;
}

// Runs update-desktop-database at once instead of detached, and counts the starts.
struct Associations {
    int launches = 0;
    XdgFileAssociations backend{
        [this](const std::string& program, const std::vector<std::string>& args) {
            ++launches;
            QStringList list;
            for (const auto& a : args)
                list << QString::fromStdString(a);
            QProcess::execute(QString::fromStdString(program), list);
        }};
    std::vector<std::string> apply(const fs::path& program, std::vector<FileTypeChoice> c,
                                   std::vector<platform::IconImage> icons = {}) {
        return backend.apply({program, std::move(icons)}, c);
    }
};

} // namespace

TEST(XdgFileAssociations, TickedTypeIsOursAndUntickingRestoresTheEarlierDefault) {
    test::TempDataDir dir;
    const fs::path list = XdgFileAssociations::mimeAppsListPath();
    EXPECT_EQ(list, dir.path() / "config" / "mimeapps.list");
    EXPECT_EQ(XdgFileAssociations::desktopEntryPath(),
              dir.path() / "data" / "applications" / "qinglan.desktop");
    // The user's earlier choice: another player, with its own installed entry.
    writeFile(dir.path() / "data" / "applications" / "otherplayer.desktop",
              "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\n"
              "MimeType=video/x-msvideo;\n");
    const std::string before = "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                               "[Default Applications]\nvideo/x-msvideo=otherplayer.desktop;\n"
                               "audio/mpeg=otherplayer.desktop;\n";
    writeFile(list, before);
    ASSERT_EQ(defaultFor("video/x-msvideo"), "otherplayer.desktop");

    const fs::path program = fakeProgram(dir.path(), dir.path() / "args");
    Associations a;
    EXPECT_TRUE(a.apply(program, choices({{"avi", true}, {"mp3", false}})).empty());
    EXPECT_EQ(readFile(list), "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                              "[Default Applications]\n"
                              "video/x-msvideo=qinglan.desktop;otherplayer.desktop;\n"
                              "audio/mpeg=otherplayer.desktop;\n");
    EXPECT_EQ(defaultFor("video/x-msvideo"), "qinglan.desktop");
    EXPECT_EQ(run("gio", {"mime", "video/x-msvideo"})
                  .out.find("Default application for "
                            "“video/x-msvideo”: qinglan.desktop"),
              0u);
    EXPECT_EQ(defaultFor("audio/mpeg"), "otherplayer.desktop");

    EXPECT_TRUE(a.apply(program, choices({{"avi", false}, {"mp3", false}})).empty());
    EXPECT_EQ(readFile(list), before);
    EXPECT_EQ(defaultFor("video/x-msvideo"), "otherplayer.desktop");
    // The entry stays: the player is still one of the programs that can open the type.
    EXPECT_TRUE(fs::exists(XdgFileAssociations::desktopEntryPath()));
    EXPECT_EQ(filesIn(list.parent_path()), 1); // no temporary file left behind
}

TEST(XdgFileAssociations, TheEntryIsValidAndStartsTheProgramWithTheFile) {
    test::TempDataDir dir;
    // A folder name the entry format makes us quote and escape. (Not a "%": GLib looks for the
    // program before it undoes the "%%", and finds none.)
    const fs::path folder = dir.path() / "my $player's" / "青岚";
    const fs::path log = dir.path() / "args";
    const fs::path program = fakeProgram(folder, log);
    Associations a;
    EXPECT_TRUE(a.apply(program, choices({{"avi", true}, {"mkv", false}, {"flac", true}}),
                        {{16, "icon16"}, {48, "icon48"}})
                    .empty());
    const fs::path entry = XdgFileAssociations::desktopEntryPath();
    const Tool validate = run("desktop-file-validate", {q(entry)});
    EXPECT_EQ(validate.exitCode, 0) << validate.out;
    EXPECT_EQ(validate.out, "");
    const std::string text = readFile(entry);
    EXPECT_NE(text.find("\nName=青岚播放器\n"), std::string::npos);
    EXPECT_NE(text.find("\nIcon=qinglan\n"), std::string::npos);
    EXPECT_NE(text.find("\nMimeType=video/x-msvideo;video/vnd.avi;video/avi;video/msvideo;"
                        "video/x-avi;video/x-matroska;video/matroska;audio/flac;audio/x-flac;\n"),
              std::string::npos);
    EXPECT_EQ(readFile(XdgFileAssociations::iconPath(48)), "icon48");
    EXPECT_EQ(XdgFileAssociations::iconPath(48),
              dir.path() / "data" / "icons" / "hicolor" / "48x48" / "apps" / "qinglan.png");

    // GLib reads the Exec line back into the program and the opened file's path.
    const fs::path media = dir.path() / "a film's (1).avi";
    writeFile(media, "");
    const Tool launched = run("gio", {"launch", q(entry), q(media)});
    ASSERT_EQ(launched.exitCode, 0) << launched.out;
    const auto written = [&] {
        const std::string launchedWith = readFile(log);
        return !launchedWith.empty() && launchedWith.back() == '\n';
    };
    for (int i = 0; i < 200 && !written(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(readFile(log), media.string() + "\n");

    // update-desktop-database filed the entry under its types; it runs again only when the
    // entry changes.
    EXPECT_EQ(a.launches, 1);
    const std::string cache = readFile(entry.parent_path() / "mimeinfo.cache");
    EXPECT_NE(cache.find("video/x-msvideo=qinglan.desktop;"), std::string::npos);
    a.apply(program, choices({{"avi", true}, {"mkv", false}, {"flac", true}}),
            {{16, "icon16"}, {48, "icon48"}});
    EXPECT_EQ(a.launches, 1);
    a.apply(dir.path() / "moved" / "qinglan", choices({{"avi", true}}));
    EXPECT_EQ(a.launches, 2);
    // Without icons the entry names none.
    EXPECT_EQ(readFile(entry).find("Icon="), std::string::npos);
}

TEST(XdgFileAssociations, ExtensionsSharingAMimeTypeAreOursWhenAnyOfThemIsTicked) {
    test::TempDataDir dir;
    const fs::path program = fakeProgram(dir.path(), dir.path() / "args");
    Associations a;
    const auto list = [] { return readFile(XdgFileAssociations::mimeAppsListPath()); };
    a.apply(program, choices({{"mpeg", false}, {"dat", false}, {"vob", true}, {"mts", true}}));
    EXPECT_EQ(list(), "[Default Applications]\n"
                      "video/mpeg=qinglan.desktop;\n"
                      "video/mp2t=qinglan.desktop;\n");
    EXPECT_EQ(defaultFor("video/mpeg"), "qinglan.desktop");
    a.apply(program, choices({{"mpeg", true}, {"dat", false}, {"vob", false}, {"mts", false}}));
    EXPECT_EQ(list(), "[Default Applications]\nvideo/mpeg=qinglan.desktop;\n");
    a.apply(program, choices({{"MP4", false},
                              {"f4v", false},
                              {"m4v", true},
                              {"rm", false},
                              {"rmvb", false},
                              {"mpeg", false}}));
    EXPECT_EQ(list(), "[Default Applications]\nvideo/mp4=qinglan.desktop;\n");
    a.apply(program, choices({{"mp4", false}, {"m4v", false}}));
    EXPECT_EQ(list(), "[Default Applications]\n");
}

TEST(XdgFileAssociations, FailuresAreReportedAndNothingIsDestroyed) {
    test::TempDataDir dir;
    const fs::path program = fakeProgram(dir.path(), dir.path() / "args");
    Associations a;
    // A type nobody can name cannot be ours; taking it away has nothing to do.
    EXPECT_EQ(a.apply(program, choices({{"xyz", true}, {"abc", false}, {"avi", true}})),
              std::vector<std::string>{"xyz"});
    // A program path the entry cannot hold (a relative one, a line break) puts nothing first,
    // but still takes us out where asked.
    EXPECT_EQ(a.apply("qinglan", choices({{"avi", true}, {"mkv", false}})),
              std::vector<std::string>{"avi"});
    EXPECT_EQ(a.apply(dir.path() / "new\nline", choices({{"avi", true}})),
              std::vector<std::string>{"avi"});
    EXPECT_NE(readFile(XdgFileAssociations::desktopEntryPath()).find(program.string()),
              std::string::npos); // the earlier, good entry is kept

    // A list that cannot be read is not replaced.
    const fs::path list = XdgFileAssociations::mimeAppsListPath();
    fs::remove(list);
    fs::create_directories(list);
    EXPECT_EQ(a.apply(program, choices({{"avi", true}, {"mkv", false}})),
              (std::vector<std::string>{"avi", "mkv"}));
    EXPECT_TRUE(fs::is_directory(list));
}

TEST(XdgFileAssociations, AnEntryOfOurNameThatSomeoneElseWroteIsKept) {
    test::TempDataDir dir;
    const fs::path entry = XdgFileAssociations::desktopEntryPath();
    const std::string theirs = "[Desktop Entry]\nType=Application\nName=Mine\nExec=/bin/true %f\n";
    writeFile(entry, theirs);
    Associations a;
    EXPECT_TRUE(
        a.apply(fakeProgram(dir.path(), dir.path() / "args"), choices({{"avi", true}})).empty());
    EXPECT_EQ(readFile(entry), theirs);
    EXPECT_EQ(defaultFor("video/x-msvideo"), "qinglan.desktop");
}

TEST(XdgFileAssociations, TheListIsReplacedWholeThroughItsLinkAndKeepsItsPermissions) {
    test::TempDataDir dir;
    const fs::path program = fakeProgram(dir.path(), dir.path() / "args");
    // A list kept in a dotfiles folder and linked into place, readable by its owner only.
    const fs::path kept = dir.path() / "dotfiles" / "mimeapps.list";
    std::string filler = "[Added Associations]\n";
    for (int i = 0; i < 20000; ++i)
        filler += "application/x-type" + std::to_string(i) + "=some.desktop;\n";
    const std::string head = "[Default Applications]\nvideo/x-msvideo=";
    writeFile(kept, filler + head + "vlc.desktop;\n");
    ::chmod(kept.c_str(), 0600);
    const fs::path list = XdgFileAssociations::mimeAppsListPath();
    fs::create_symlink(kept, list);

    // A reader that looks while the list is rewritten again and again sees the old list or the
    // new one, whole, every time.
    const std::string off = filler + head + "vlc.desktop;\n";
    const std::string on = filler + head + "qinglan.desktop;vlc.desktop;\n";
    std::atomic<bool> done{false};
    std::atomic<int> torn{0}, reads{0};
    std::thread reader([&] {
        while (!done) {
            const std::string seen = readFile(list);
            if (seen != off && seen != on) ++torn;
            ++reads;
        }
    });
    Associations a;
    for (int i = 0; i < 40; ++i)
        a.apply(program, choices({{"avi", i % 2 == 0}}));
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";

    EXPECT_TRUE(fs::is_symlink(list));
    EXPECT_EQ(readFile(kept), off);
    struct stat st {};
    ASSERT_EQ(::stat(kept.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(filesIn(kept.parent_path()), 1);
}

namespace {

// System data folders of the test's own ($XDG_DATA_DIRS) while it lives, with the system's MIME
// database in them so that the desktop's tools still know the types.
class SystemDataDir {
public:
    explicit SystemDataDir(const fs::path& folder) : folder_(folder) {
        fs::create_directories(folder);
        fs::create_directory_symlink("/usr/share/mime", folder / "mime");
        if (const char* old = std::getenv("XDG_DATA_DIRS")) old_ = old;
        setenv("XDG_DATA_DIRS", folder.c_str(), 1);
    }
    ~SystemDataDir() {
        if (old_)
            setenv("XDG_DATA_DIRS", old_->c_str(), 1);
        else
            unsetenv("XDG_DATA_DIRS");
    }
    fs::path applications() const { return folder_ / "applications"; }

private:
    fs::path folder_;
    std::optional<std::string> old_;
};

std::vector<std::string> typesOf(std::initializer_list<const char*> extensions) {
    std::vector<std::string> types;
    for (const char* e : extensions)
        types.emplace_back(platform::mimeTypeOfExtension(e));
    return platform::withAliases(types);
}

} // namespace

TEST(XdgFileAssociations, TheInstalledEntryIsNamedAndWhatABuildFolderRunWroteGoes) {
    test::TempDataDir dir;
    const fs::path log = dir.path() / "args";
    // A run from a build folder: its own entry and icons in the user's folders.
    const fs::path built = fakeProgram(dir.path() / "build", dir.path() / "built-args");
    Associations a;
    const std::vector<platform::IconImage> icons = {{16, "icon16"}, {48, "icon48"}};
    ASSERT_TRUE(a.apply(built, choices({{"avi", true}}), icons).empty());
    const fs::path userEntry = XdgFileAssociations::desktopEntryPath();
    ASSERT_TRUE(fs::exists(userEntry));
    // An icon the user put there themselves.
    writeFile(XdgFileAssociations::iconPath(32), "the user's own");

    // Then the package: an entry in a system folder, for a prefix the Exec line must quote.
    SystemDataDir system(dir.path() / "my $system's share");
    const fs::path installed = fakeProgram(dir.path() / "my $prefix's" / "bin", log);
    const fs::path installedEntry = system.applications() / "qinglan.desktop";
    writeFile(installedEntry,
              platform::applicationEntry(installed.string(), typesOf({"avi", "mp3"}),
                                         platform::EntryKind::Installed, true));
    const Tool validate = run("desktop-file-validate", {q(installedEntry)});
    EXPECT_EQ(validate.exitCode, 0) << validate.out;
    EXPECT_EQ(validate.out, "");
    EXPECT_EQ(XdgFileAssociations::installedEntryPath(), installedEntry);

    const int launchesBefore = a.launches;
    EXPECT_TRUE(a.apply(built, choices({{"avi", true}, {"mp3", false}}), icons).empty());
    EXPECT_FALSE(fs::exists(userEntry));
    EXPECT_FALSE(fs::exists(XdgFileAssociations::iconPath(16)));
    EXPECT_FALSE(fs::exists(XdgFileAssociations::iconPath(48)));
    EXPECT_EQ(readFile(XdgFileAssociations::iconPath(32)), "the user's own");
    // The folder's MIME cache forgets the removed entry.
    EXPECT_EQ(a.launches, launchesBefore + 1);
    EXPECT_EQ(readFile(userEntry.parent_path() / "mimeinfo.cache").find("qinglan.desktop"),
              std::string::npos);
    EXPECT_EQ(readFile(XdgFileAssociations::mimeAppsListPath()),
              "[Default Applications]\nvideo/x-msvideo=qinglan.desktop;\n");

    // Opening a file of the type starts the installed program with it.
    const fs::path media = dir.path() / "a film's (1).avi";
    writeFile(media, std::string("RIFF\0\0\0\0AVI LIST", 16));
    const Tool opened = run("gio", {"open", q(media)});
    ASSERT_EQ(opened.exitCode, 0) << opened.out;
    const auto written = [&] {
        const std::string text = readFile(log);
        return !text.empty() && text.back() == '\n';
    };
    for (int i = 0; i < 200 && !written(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(readFile(log), media.string() + "\n");

    // Later starts find nothing to do; taking the type away still works.
    EXPECT_TRUE(a.apply(installed, choices({{"avi", true}}), icons).empty());
    EXPECT_TRUE(a.apply(installed, choices({{"avi", false}}), icons).empty());
    EXPECT_EQ(a.launches, launchesBefore + 1);
    EXPECT_FALSE(fs::exists(userEntry));
    EXPECT_FALSE(fs::exists(XdgFileAssociations::iconPath(16)));
    EXPECT_EQ(readFile(XdgFileAssociations::mimeAppsListPath()), "[Default Applications]\n");
}

TEST(XdgFileAssociations, BesideTheInstalledEntryAUserEntrySomeoneElseWroteIsKept) {
    test::TempDataDir dir;
    SystemDataDir system(dir.path() / "system");
    const fs::path program = fakeProgram(dir.path(), dir.path() / "args");
    writeFile(system.applications() / "qinglan.desktop",
              platform::applicationEntry(program.string(), typesOf({"avi"}),
                                         platform::EntryKind::Installed, true));
    const fs::path entry = XdgFileAssociations::desktopEntryPath();
    const std::string theirs = "[Desktop Entry]\nType=Application\nName=Mine\nExec=/bin/true %f\n";
    writeFile(entry, theirs);
    Associations a;
    EXPECT_TRUE(a.apply(program, choices({{"avi", true}}), {{16, "icon16"}}).empty());
    EXPECT_EQ(readFile(entry), theirs);
    EXPECT_FALSE(fs::exists(XdgFileAssociations::iconPath(16)));
    EXPECT_EQ(a.launches, 0);
}

TEST(XdgFileAssociations, TheEntriesListTheNamesFileManagersUseForEachType) {
    const auto types = typesOf({"avi", "mkv", "mp3", "flac", "mpeg", "mp4", "flv", "rmvb", "3gp"});
    for (const char* name : {"video/x-msvideo", "video/avi", "video/x-matroska", "video/matroska",
                             "audio/mpeg", "audio/mp3", "audio/flac", "audio/x-flac"})
        EXPECT_NE(std::find(types.begin(), types.end(), name), types.end()) << name;

    // Every alias the system's MIME database knows is filed under the type we list it with.
    std::ifstream aliases("/usr/share/mime/aliases");
    if (!aliases) GTEST_SKIP() << "no shared MIME database in /usr/share/mime";
    std::map<std::string, std::string> canonical;
    std::string alias, aliasedType;
    while (aliases >> alias >> aliasedType)
        canonical[alias] = aliasedType;
    int known = 0;
    for (const char* ext : {"avi", "wmv", "mpeg", "mp4", "mov", "mkv", "flv", "rmvb", "3gp", "ape",
                            "mts", "mp3", "flac"}) {
        const auto type = platform::mimeTypeOfExtension(ext);
        EXPECT_EQ(canonical.count(std::string(type)), 0u) << type << " is itself an alias";
        for (const auto a : platform::mimeTypeAliases(type)) {
            const auto it = canonical.find(std::string(a));
            if (it == canonical.end()) continue; // a name newer databases moved the type to
            ++known;
            EXPECT_EQ(it->second, type) << a;
        }
    }
    EXPECT_GT(known, 15);
}
