#pragma once
// The text rules of freedesktop.org desktop entries, shared by every entry the player writes or
// installs (the association entry, the autostart entry, the installed menu entry), so that a
// program path with blanks, quotes, backslashes or "%" starts the same program from each.
// Header-only and free of Qt, so that build-time generators can use it too.

#include <string>
#include <string_view>

namespace qinglan::platform {

// A string value with the format's escapes applied ("\" written "\\").
inline std::string desktopEntryString(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out;
}

// The Exec value that starts `program` (without field codes). The path is quoted only when it
// holds a character the format reserves, because simple readers (xdg-mime among them) take the
// first blank-separated word literally. A "%" is written "%%" as the format asks; GLib (2.74)
// looks for the program before it undoes that, so GLib desktops do not start a program whose
// path holds a "%". The Exec quoting rules apply after the string escapes are undone, so a
// backslash inside quotes ends up as four.
inline std::string desktopEntryExec(std::string_view program) {
    static constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quote = program.find_first_of(kReserved) != std::string_view::npos;
    std::string arg;
    for (char c : program) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) arg += '\\';
        if (c == '%') arg += '%';
        arg += c;
    }
    return desktopEntryString(quote ? "\"" + arg + "\"" : arg);
}

} // namespace qinglan::platform
