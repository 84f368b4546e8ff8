#include "desktop/FileTypes.h"

namespace qinglan::desktop {

namespace {
constexpr FileType kFileTypes[] = {
    {"avi", 197}, {"wmv", 198}, {"mpeg", 199}, {"mp4", 200}, {"mov", 201}, {"mkv", 202},
    {"flv", 203}, {"f4v", 87},  {"m4v", 88},   {"rmvb", 89}, {"rm", 90},   {"3gp", 91},
    {"dat", 92},  {"ape", 93},  {"mts", 94},   {"mp3", 95},  {"vob", 96},  {"flac", 97},
};
} // namespace

std::span<const FileType> fileTypes() {
    return kFileTypes;
}

std::vector<platform::FileTypeChoice> fileTypeChoices(const SettingText& setting) {
    std::vector<platform::FileTypeChoice> choices;
    for (const auto& type : kFileTypes)
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
