#pragma once
// Start with the user's session: the desktop starts the player when the user logs on.
//
// What a backend promises:
// - On makes the session start `program` (an absolute path, blanks and any other characters
//   included) with no arguments; off takes that away again.
// - Only an entry this program made is ever changed or removed: another program's entry that
//   happens to carry the same name stays as it is, and switching on then fails.
// - Failures are silent to the user and reported as false.
// - Threading: any one thread at a time.
//
// Linux (linux/XdgAutostart.h): an XDG autostart entry. Windows: a value of the current user's
// Run key.

#include <filesystem>
#include <memory>

namespace qinglan::platform {

class Autostart {
public:
    virtual ~Autostart() = default;

    // Brings the session's start entry in line with `on` for `program`.
    virtual bool apply(bool on, const std::filesystem::path& program) = 0;
};

// The backend of the desktop the player runs on.
std::unique_ptr<Autostart> makeAutostart();

} // namespace qinglan::platform
