#pragma once
// File-type associations: which program the desktop starts when the user opens a file of a
// given extension. The player states, for each of its file types, whether it wants to be that
// program; a backend brings the desktop in line with the whole list at once.
//
// What a backend promises:
// - Associating makes the player the desktop's first choice for the type and starts it with the
//   opened file's path as its one argument. Not associating takes only the player out of the
//   type's choices: whatever the user or other programs set up before comes back, and other
//   programs' entries are never changed or removed.
// - Every file it writes is written whole under a temporary name and renamed into place, so a
//   crash never leaves a half-written file; content that is already right is not rewritten.
// - Failures are reported, never shown: apply() names the extensions it could not bring in line
//   and carries on with the others.
// - Threading: any one thread at a time; apply() returns when every file is written (a helper
//   the desktop offers to refresh its caches may still be running).
//
// The desktop's own model decides what "a type" is. On an XDG desktop (linux/XdgFileAssociations)
// an extension stands for a MIME type and several extensions may share one (.mpeg and .vob are
// video/mpeg); a type is then associated when any of its extensions asks for it. On Windows
// (windows/RegistryFileAssociations) each extension is a type of its own: the backend writes the
// current user's classes (HKEY_CURRENT_USER\Software\Classes, seen merged in
// HKEY_CLASSES_ROOT), per extension the player's own class derived from the extension (".avi"
// -> "Qinglan.avi" -> its icon, taken from the executable, and its open command
// `"<executable>" "%1"`), keeps the default it replaced and puts it back when the player is
// taken out, and never touches the user's per-user Explorer choice; it needs nothing more than
// is given here.

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qinglan::platform {

// One file type and whether the player should open it.
struct FileTypeChoice {
    std::string extension; // without its dot, as the player lists it: "avi"
    bool associate = false;
};

// The program's icon at one size, as PNG data. Backends that take the icon from the executable
// itself ignore these.
struct IconImage {
    int side = 0; // pixels; the image is square
    std::string png;
};

struct AssociatedProgram {
    std::filesystem::path executable; // absolute; started as `executable <file>`
    std::vector<IconImage> icons;
};

class FileAssociations {
public:
    virtual ~FileAssociations() = default;

    // Brings the associations of the extensions in `choices` in line with them, in the order
    // given; extensions not named are left as they are. Returns the extensions whose association
    // could not be brought in line (empty when all were), in the order given.
    virtual std::vector<std::string> apply(const AssociatedProgram& program,
                                           std::span<const FileTypeChoice> choices) = 0;
};

// The backend of the desktop the player runs on.
std::unique_ptr<FileAssociations> makeFileAssociations();

} // namespace qinglan::platform
