// qinglan-addfiles "$DINE": choose media files for the player's list.
// qinglan-addfiles --append FILE...: append the given files without asking (scripts, tests).
// Exit codes: 0 done (also when nothing was chosen), 1 the list file could not be written.
#include "addfiles/AddFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>

#include <cstdio>

int main(int argc, char** argv) {
    using namespace qinglan;
    std::vector<std::string> chosen;
    if (argc >= 2 && std::string(argv[1]) == "--append") {
        for (int i = 2; i < argc; ++i)
            chosen.emplace_back(argv[i]); // the bytes as given
    } else {
        QApplication app(argc, argv);
        const QStringList files = QFileDialog::getOpenFileNames(
            nullptr, QStringLiteral("添加文件"), QDir::homePath(), addfiles::chooserFilter());
        for (const QString& f : files)
            chosen.push_back(QFile::encodeName(f).toStdString());
    }
    const auto status = addfiles::appendChosenFiles(addfiles::listFile(), chosen);
    if (!status.ok()) {
        std::fprintf(stderr, "qinglan-addfiles: %s\n", status.message().c_str());
        return 1;
    }
    return 0;
}
