#pragma once
// File associations on an XDG desktop (freedesktop.org's desktop entries and MIME applications
// lists), as read by GLib, KDE and xdg-utils:
// - the desktop entry qinglan.desktop in $XDG_DATA_HOME/applications names the program, its
//   icon and the MIME types it opens; the icon is installed under the hicolor theme of
//   $XDG_DATA_HOME/icons as "qinglan";
// - an associated MIME type has qinglan.desktop first in its list in the [Default Applications]
//   group of $XDG_CONFIG_HOME/mimeapps.list, ahead of whatever the user chose before; a type
//   not associated has only qinglan.desktop taken out of that list, so the earlier choice is the
//   default again. Every other line and group of the file is kept as it was.
// - Extensions sharing a MIME type: the type is associated when any of them asks for it (with
//   the player's types: mpeg, vob and dat are video/mpeg; mp4, f4v and m4v video/mp4; rm and
//   rmvb application/vnd.rn-realmedia). Associating mts also makes the player the default for
//   .ts files, which the desktop files as video/mp2t too.
// - update-desktop-database, when installed, refreshes the folder's MIME cache after the entry
//   changed; it is started and not waited for.
// - An installed player has its entry qinglan.desktop in a system applications folder
//   ($XDG_DATA_DIRS) and its icons in the system's hicolor theme. Once that entry exists, the
//   lists name it and no user entry or icons are written: a user entry of the same name would
//   hide it, and would point at a build folder that may be gone. A user entry marked as ours is
//   then removed, and so are user icons identical to the program's.
// ($XDG_DATA_HOME and $XDG_CONFIG_HOME fall back to ~/.local/share and ~/.config when unset or
// not absolute.)

#include "platform/FileAssociations.h"

#include <functional>
#include <string>
#include <string_view>

namespace qinglan::platform {

inline constexpr std::string_view kDesktopId = "qinglan.desktop";

// The MIME type the file-type table (platform/FileTypes.h) gives `extension` (lower case, no
// dot); "" for one the player does not list.
std::string_view mimeTypeOfExtension(std::string_view extension);

// The Exec value that starts `program` with one file. The path is quoted only when it holds a
// character the desktop entry format reserves, because simple readers (xdg-mime among them)
// take the first blank-separated word literally. A "%" is written "%%" as the format asks;
// GLib (2.74) looks for the program before it undoes that, so GLib desktops do not start a
// program whose path holds a "%".
std::string execValue(const std::string& program);

// Other names of `mimeType` that desktops and file managers use, older ones or the name newer
// MIME databases moved to (audio/x-flac and audio/flac, video/x-matroska and video/matroska);
// empty when it has none.
std::span<const std::string_view> mimeTypeAliases(std::string_view mimeType);

// The MimeType list of the player's entries: each of `types` once, each followed by its aliases.
std::vector<std::string> withAliases(std::span<const std::string> types);

enum class EntryKind {
    Installed, // the menu entry an install puts into a system applications folder
    User,      // the entry a start writes into the user's folder, marked as ours
};

// A desktop entry that starts `program` (absolute) with one file and opens `mimeTypes`.
std::string applicationEntry(const std::string& program, std::span<const std::string> mimeTypes,
                             EntryKind kind, bool withIcon);

// One MIME type's wanted state in [Default Applications].
struct DefaultApplication {
    std::string mimeType;
    bool first = false; // true: `desktopId` heads the list; false: `desktopId` is not in it
};

// `text` (the content of a mimeapps.list) with the lists of `changes` edited for `desktopId`.
// Lines that need no change are kept byte for byte, a list left empty loses its line, and a
// missing list or group is added.
std::string editDefaultApplications(std::string_view text,
                                    std::span<const DefaultApplication> changes,
                                    std::string_view desktopId = kDesktopId);

class XdgFileAssociations final : public FileAssociations {
public:
    // Starts a helper program and does not wait for it.
    using Launcher =
        std::function<void(const std::string& program, const std::vector<std::string>& arguments)>;
    // The default launcher starts the helper detached.
    explicit XdgFileAssociations(Launcher launch = {});

    std::vector<std::string> apply(const AssociatedProgram& program,
                                   std::span<const FileTypeChoice> choices) override;

    static std::filesystem::path desktopEntryPath();
    // The installed entry: the first regular qinglan.desktop in the applications folder of a
    // system data folder, or empty when there is none.
    static std::filesystem::path installedEntryPath();
    static std::filesystem::path mimeAppsListPath();
    static std::filesystem::path iconPath(int side);

private:
    Launcher launch_;
};

} // namespace qinglan::platform
