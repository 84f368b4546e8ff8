#pragma once
// The start's file-type step: the file types (platform/FileTypes.h) brought in line with their
// check boxes, in the table's order. Only a field holding exactly "1" asks for the association;
// any other value (the empty text, "true", " 1") asks for it to be taken away.

#include <platform/FileAssociations.h>
#include <platform/FileTypes.h>

#include <functional>
#include <string>
#include <vector>

namespace qinglan::desktop {

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
