// Writes the files an installation gives the desktop, at build time, from the player's own
// tables and artwork so that they never drift from what the program does:
//   qinglan-desktop-files entry FILE PROGRAM   the menu entry qinglan.desktop starting PROGRAM,
//                                              for every file type of the association page
//   qinglan-desktop-files icons FOLDER         FOLDER/<N>x<N>/apps/qinglan.png for the theme
#include <artwork/Artwork.h>
#include <platform/FileTypes.h>
#include <platform/linux/XdgFileAssociations.h>

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace qinglan;
namespace fs = std::filesystem;

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "qinglan-desktop-files: %s\n", message.c_str());
    return 1;
}

bool writeFile(const fs::path& file, const std::string& text) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

int writeEntry(const fs::path& file, const std::string& program) {
    if (!fs::path(program).is_absolute()) return fail("the program path must be absolute");
    std::vector<std::string> types;
    for (const auto& type : platform::fileTypes())
        if (std::find(types.begin(), types.end(), type.mimeType) == types.end())
            types.emplace_back(type.mimeType);
    const std::string text = platform::applicationEntry(program, platform::withAliases(types),
                                                        platform::EntryKind::Installed, true);
    return writeFile(file, text) ? 0 : fail("cannot write " + file.string());
}

int writeIcons(int argc, char** argv, const fs::path& folder) {
    // Drawing needs a GUI application; no display is involved.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (int side : artwork::kAppIconSides) {
        const QByteArray png = artwork::markPng(side);
        const std::string size = std::to_string(side) + "x" + std::to_string(side);
        if (png.isEmpty() || !writeFile(folder / size / "apps" / "qinglan.png", png.toStdString()))
            return fail("cannot write the " + size + " icon");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "entry") return writeEntry(args[1], args[2]);
    if (args.size() == 2 && args[0] == "icons") return writeIcons(argc, argv, args[1]);
    return fail("usage: qinglan-desktop-files entry FILE PROGRAM | icons FOLDER");
}
