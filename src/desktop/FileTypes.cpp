#include "desktop/FileTypes.h"

namespace qinglan::desktop {

std::vector<platform::FileTypeChoice> fileTypeChoices(const SettingText& setting) {
    std::vector<platform::FileTypeChoice> choices;
    for (const auto& type : platform::fileTypes())
        choices.push_back({std::string(type.extension), setting(type.field) == "1"});
    return choices;
}

std::vector<std::string> applyFileTypeSettings(platform::FileAssociations& associations,
                                               const platform::AssociatedProgram& program,
                                               const SettingText& setting) {
    const auto choices = fileTypeChoices(setting);
    return associations.apply(program, choices);
}

} // namespace qinglan::desktop
