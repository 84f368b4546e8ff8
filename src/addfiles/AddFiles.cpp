#include "addfiles/AddFiles.h"

#include <medialist/ListPaths.h>
#include <medialist/ListStore.h>
#include <settings/StoreLocation.h>

#include <QStringList>

namespace qinglan::addfiles {

QString chooserFilter() {
    QStringList patterns;
    for (auto p : medialist::mediaPatterns())
        patterns << QString::fromLatin1(p.data(), static_cast<qsizetype>(p.size()));
    return QStringLiteral("视频文件 (%1);;所有文件 (*)").arg(patterns.join(u' '));
}

std::filesystem::path listFile() {
    return settings::dataDirectory(settings::programDirectory()) / settings::kListFileName;
}

edb::Status appendChosenFiles(const std::filesystem::path& file,
                              const std::vector<std::string>& paths) {
    if (paths.empty()) return {};
    auto db = medialist::openListForAppending(file);
    if (!db.ok()) return db.status();
    return db.value().appendTexts(medialist::kPathField, paths);
}

} // namespace qinglan::addfiles
