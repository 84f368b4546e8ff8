#pragma once
// The 18 file types the player can be associated with, stated once: each extension with the
// MIME type the desktop files it under and the settings field that holds its check box, in the
// order the association page shows them and every start brings them in line. The settings
// table, the association page, the start's file-type step, the desktop backends and the
// installed desktop entry all read these rows. Constant and free of any toolkit, so that every
// layer can read it, the settings table's constant rows and the Windows build included.

#include <span>
#include <string_view>

namespace qinglan::platform {

struct FileType {
    std::string_view extension; // lower case, without its dot
    // The name freedesktop.org's shared MIME database gives the extension. A .dat file has no
    // type there; it is taken as the MPEG program stream that a video CD's .dat files hold.
    std::string_view mimeType;
    int field; // the settings field of its check box: "1" asks for the association
};

inline constexpr FileType kFileTypes[] = {
    {"avi", "video/x-msvideo", 197},
    {"wmv", "video/x-ms-wmv", 198},
    {"mpeg", "video/mpeg", 199},
    {"mp4", "video/mp4", 200},
    {"mov", "video/quicktime", 201},
    {"mkv", "video/x-matroska", 202},
    {"flv", "video/x-flv", 203},
    {"f4v", "video/mp4", 87},
    {"m4v", "video/mp4", 88},
    {"rmvb", "application/vnd.rn-realmedia", 89},
    {"rm", "application/vnd.rn-realmedia", 90},
    {"3gp", "video/3gpp", 91},
    {"dat", "video/mpeg", 92},
    {"ape", "audio/x-ape", 93},
    {"mts", "video/mp2t", 94},
    {"mp3", "audio/mpeg", 95},
    {"vob", "video/mpeg", 96},
    {"flac", "audio/flac", 97},
};

inline constexpr std::span<const FileType> fileTypes() {
    return kFileTypes;
}

// The row of `extension` (lower case, no dot); nullptr for one the player does not list.
inline constexpr const FileType* findFileType(std::string_view extension) {
    for (const auto& type : kFileTypes)
        if (type.extension == extension) return &type;
    return nullptr;
}

} // namespace qinglan::platform
