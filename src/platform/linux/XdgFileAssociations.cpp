#include "platform/linux/XdgFileAssociations.h"
#include "platform/FileTypes.h"
#include "platform/linux/DesktopEntryText.h"
#include "platform/linux/XdgBaseDirs.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qinglan::platform {

namespace fs = std::filesystem;

namespace {

// Marks an entry as ours; an entry of that name without it was made by someone else.
constexpr std::string_view kOwnerLine = "X-Qinglan-Associations=true";
constexpr std::string_view kIconName = "qinglan";

// Names other desktops and file managers give the same types. The first of each is the name
// newer MIME databases moved to, where they did.
constexpr std::string_view kAviAliases[] = {"video/vnd.avi", "video/avi", "video/msvideo",
                                            "video/x-avi"};
constexpr std::string_view kMpegAliases[] = {"video/x-mpeg", "video/mpeg-system",
                                             "video/x-mpeg-system", "video/x-mpeg2"};
constexpr std::string_view kMp4Aliases[] = {"video/x-m4v", "video/mp4v-es"};
constexpr std::string_view kMatroskaAliases[] = {"video/matroska"};
constexpr std::string_view kFlvAliases[] = {"video/flv", "application/x-flash-video"};
constexpr std::string_view kRealMediaAliases[] = {"application/vnd.rn-realmedia-vbr"};
constexpr std::string_view k3gppAliases[] = {"video/3gp"};
constexpr std::string_view kMp3Aliases[] = {"audio/mp3", "audio/x-mp3", "audio/x-mpeg",
                                            "audio/x-mpg"};
constexpr std::string_view kFlacAliases[] = {"audio/x-flac"};

constexpr std::pair<std::string_view, std::span<const std::string_view>> kMimeAliases[] = {
    {"video/x-msvideo", kAviAliases}, {"video/mpeg", kMpegAliases},
    {"video/mp4", kMp4Aliases},       {"video/x-matroska", kMatroskaAliases},
    {"video/x-flv", kFlvAliases},     {"application/vnd.rn-realmedia", kRealMediaAliases},
    {"video/3gpp", k3gppAliases},     {"audio/mpeg", kMp3Aliases},
    {"audio/flac", kFlacAliases},
};

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// A path that cannot be written into a desktop entry line as it is.
bool hasControlCharacter(const std::string& s) {
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

// Whole content, or nothing when the file exists and cannot be read.
std::optional<std::string> readWhole(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec))) return std::string();
    if (!fs::is_regular_file(file, ec)) return std::nullopt; // a folder, a dangling link
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return text.str();
}

// The file a path names once its symbolic links are followed, so that a list kept elsewhere
// (a dotfiles folder) is edited there instead of being replaced by a copy.
fs::path followLinks(fs::path file) {
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(file, ec); ++hops) {
        const fs::path target = fs::read_symlink(file, ec);
        if (ec) break;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file;
}

// Written under a temporary name in the same folder and renamed over the old file: readers see
// the old content or the new, never a part. The old file's permissions are kept.
bool writeAtomically(const fs::path& target, const std::string& text) {
    const fs::path file = followLinks(target);
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::string tmp = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    struct stat old {};
    const mode_t mode = ::stat(file.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0;
    std::size_t done = 0;
    while (ok && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(tmp.c_str(), file.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    // The rename itself survives a crash once the folder is on disk.
    const int dir = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

enum class Written { Unchanged, Changed, Failed };

Written writeIfDifferent(const fs::path& file, const std::string& text) {
    if (readWhole(file) == text) return Written::Unchanged;
    return writeAtomically(file, text) ? Written::Changed : Written::Failed;
}

bool isOurEntry(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (line == kOwnerLine) return true;
    return false;
}

std::optional<std::string> findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (dir.empty()) continue;
        const fs::path candidate = fs::path(dir) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return std::nullopt;
}

void startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList args;
    for (const auto& a : arguments)
        args << QString::fromStdString(a);
    QProcess::startDetached(QString::fromStdString(program), args);
}

} // namespace

std::string_view mimeTypeOfExtension(std::string_view extension) {
    const FileType* type = findFileType(extension);
    return type ? type->mimeType : std::string_view();
}

std::string execValue(const std::string& program) {
    return desktopEntryExec(program);
}

std::span<const std::string_view> mimeTypeAliases(std::string_view mimeType) {
    for (const auto& [type, aliases] : kMimeAliases)
        if (type == mimeType) return aliases;
    return {};
}

std::vector<std::string> withAliases(std::span<const std::string> types) {
    std::vector<std::string> out;
    const auto add = [&out](std::string_view type) {
        if (std::find(out.begin(), out.end(), type) == out.end()) out.emplace_back(type);
    };
    for (const auto& type : types) {
        add(type);
        for (const auto alias : mimeTypeAliases(type))
            add(alias);
    }
    return out;
}

std::string applicationEntry(const std::string& program, std::span<const std::string> mimeTypes,
                             EntryKind kind, bool withIcon) {
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=青岚播放器\n";
    if (kind == EntryKind::Installed)
        text += "GenericName=Media Player\n"
                "GenericName[zh_CN]=媒体播放器\n"
                "Comment=Play local video and audio files and network videos\n"
                "Comment[zh_CN]=播放本地视频、音频与网络视频\n";
    text += "Exec=" + execValue(program) + " %f\n";
    // Desktops hide a user entry whose program has gone (a removed build, a moved folder), so
    // the user's other choices take over again.
    if (kind == EntryKind::User) text += "TryExec=" + desktopEntryString(program) + "\n";
    if (withIcon) text += "Icon=" + std::string(kIconName) + "\n";
    text += "Terminal=false\n"
            "Categories=AudioVideo;Video;Player;\n";
    if (kind == EntryKind::Installed)
        text += "Keywords=video;audio;movie;player;视频;音频;播放器;\n";
    text += "MimeType=";
    for (const auto& type : mimeTypes)
        text += type + ";";
    text += "\n";
    if (kind == EntryKind::User) {
        text += kOwnerLine;
        text += "\n";
    }
    return text;
}

XdgFileAssociations::XdgFileAssociations(Launcher launch)
    : launch_(launch ? std::move(launch) : Launcher(startDetached)) {}

fs::path XdgFileAssociations::desktopEntryPath() {
    return xdgDataHome() / "applications" / std::string(kDesktopId);
}

fs::path XdgFileAssociations::installedEntryPath() {
    std::error_code ec;
    for (const auto& dir : xdgDataDirs()) {
        const fs::path entry = dir / "applications" / std::string(kDesktopId);
        if (fs::is_regular_file(entry, ec)) return entry;
    }
    return {};
}

fs::path XdgFileAssociations::mimeAppsListPath() {
    return xdgConfigHome() / "mimeapps.list";
}

fs::path XdgFileAssociations::iconPath(int side) {
    const std::string size = std::to_string(side) + "x" + std::to_string(side);
    return xdgDataHome() / "icons" / "hicolor" / size / "apps" / (std::string(kIconName) + ".png");
}

std::vector<std::string> XdgFileAssociations::apply(const AssociatedProgram& program,
                                                    std::span<const FileTypeChoice> choices) {
    // Each MIME type once, in the order of its first extension; any extension asking for the
    // player makes the type the player's.
    std::vector<DefaultApplication> types;
    std::vector<std::optional<std::size_t>> typeOf; // per choice; none for a type we cannot name
    for (const auto& choice : choices) {
        const auto type = mimeTypeOfExtension(lowerAscii(choice.extension));
        if (type.empty()) {
            typeOf.emplace_back();
            continue;
        }
        auto it = std::find_if(types.begin(), types.end(),
                               [&](const auto& t) { return t.mimeType == type; });
        if (it == types.end())
            it = types.insert(types.end(), {std::string(type), choice.associate});
        else
            it->first = it->first || choice.associate;
        typeOf.emplace_back(static_cast<std::size_t>(it - types.begin()));
    }

    const bool installed = !installedEntryPath().empty();
    const fs::path entryPath = desktopEntryPath();
    bool entryOk = false, entryChanged = false;
    std::error_code ec;
    if (installed) {
        // The installed entry names the player. What an earlier start from a build folder wrote
        // would hide it, so our entry goes, and icons that are the program's own, byte for byte.
        entryOk = true;
        const auto existing = readWhole(entryPath);
        if (existing && isOurEntry(*existing)) entryChanged = fs::remove(entryPath, ec);
        for (const auto& icon : program.icons)
            if (icon.side > 0 && !icon.png.empty() && readWhole(iconPath(icon.side)) == icon.png)
                fs::remove(iconPath(icon.side), ec);
    } else {
        bool iconInstalled = false;
        for (const auto& icon : program.icons) {
            if (icon.side <= 0 || icon.png.empty()) continue;
            iconInstalled =
                writeIfDifferent(iconPath(icon.side), icon.png) != Written::Failed || iconInstalled;
        }

        // The entry: ours is rewritten when it differs; one of that name that someone else made
        // is left as it is and still names the player.
        const std::string exe = program.executable.string();
        if (program.executable.is_absolute() && !hasControlCharacter(exe)) {
            const auto existing = readWhole(entryPath);
            if (existing && !existing->empty() && !isOurEntry(*existing)) {
                entryOk = true;
            } else if (existing) {
                std::vector<std::string> names;
                for (const auto& t : types)
                    names.push_back(t.mimeType);
                const auto text =
                    applicationEntry(exe, withAliases(names), EntryKind::User, iconInstalled);
                const auto written = writeIfDifferent(entryPath, text);
                entryOk = written != Written::Failed;
                entryChanged = written == Written::Changed;
            }
        }
    }

    // Without a usable entry the player cannot be put first: those lists stay as they were.
    std::vector<DefaultApplication> changes;
    for (const auto& t : types)
        if (!t.first || entryOk) changes.push_back(t);
    bool listOk = false;
    const fs::path list = mimeAppsListPath();
    if (const auto text = readWhole(list)) {
        const std::string edited = editDefaultApplications(*text, changes);
        listOk = edited == *text || writeAtomically(list, edited);
    }

    // The folder's MIME cache follows our entry; with the installed entry in use, only a
    // removal of ours changes the folder.
    const fs::path apps = entryPath.parent_path();
    if (entryOk && (entryChanged || (!installed && !fs::exists(apps / "mimeinfo.cache", ec))))
        if (const auto tool = findOnPath("update-desktop-database"))
            launch_(*tool, {"-q", apps.string()});

    std::vector<std::string> failed;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const auto& type = typeOf[i];
        // Nothing of ours can be listed for a type we cannot name.
        const bool ok = type ? listOk && (!types[*type].first || entryOk) : !choices[i].associate;
        if (!ok) failed.push_back(choices[i].extension);
    }
    return failed;
}

std::unique_ptr<FileAssociations> makeFileAssociations() {
    return std::make_unique<XdgFileAssociations>();
}

} // namespace qinglan::platform
