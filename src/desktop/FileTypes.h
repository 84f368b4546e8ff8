#pragma once
// The 18 file types the player can be associated with, in the order they are brought in line at
// every start, each with the settings field that holds its check box. Only a field holding
// exactly "1" asks for the association; any other value (the empty text, "true", " 1") asks for
// it to be taken away.

#include <platform/FileAssociations.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qinglan::desktop {

struct FileType {
    std::string_view extension; // without its dot
    int field;
};

std::span<const FileType> fileTypes();

// A field's stored text by number.
using SettingText = std::function<std::string(int field)>;

// What the settings ask for, one choice per type in table order.
std::vector<platform::FileTypeChoice> fileTypeChoices(const SettingText& setting);

// Brings the desktop in line with the settings for `program`; returns the extensions that could
// not be brought in line (the start goes on regardless).
std::vector<std::string> applyFileTypeSettings(platform::FileAssociations& associations,
                                               const platform::AssociatedProgram& program,
                                               const SettingText& setting);

} // namespace qinglan::desktop
