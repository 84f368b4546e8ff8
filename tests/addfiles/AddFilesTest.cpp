// The add-files helper: its chooser's filter, and the real program appending to the list file
// while another connection (the player) holds it open.
#include <addfiles/AddFiles.h>
#include <medialist/ListStore.h>

#include "support/TempDataDir.h"
#include "support/TestMedia.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace qinglan;

TEST(AddFilesHelper, TheChooserOffersTheSeventeenTypesThenEveryFile) {
    const QString f = addfiles::chooserFilter();
    EXPECT_TRUE(f.startsWith(QStringLiteral("视频文件 (*.avi *.wmv *.mpeg *.mp4")));
    EXPECT_TRUE(f.contains(QStringLiteral("*.mp3 *.vob);;")));
    EXPECT_TRUE(f.endsWith(QStringLiteral(";;所有文件 (*)")));
    EXPECT_EQ(f.count(QStringLiteral("*.")), 17);
}

TEST(AddFilesHelper, AppendsTheChosenFilesInOneBatchWhileThePlayerHoldsTheFile) {
    test::TempDataDir data;
    const auto folder = data.path() / "data" / "qinglan";
    medialist::ListStore player(folder);
    ASSERT_TRUE(player.append({"/v/already.mp4"}).ok()); // open and holding the file
    QProcess helper;
    helper.start(QString::fromStdString((test::buildDir() / "qinglan-addfiles").string()),
                 {"--append", "/v/一.mp4", "/v/two.mkv"});
    ASSERT_TRUE(helper.waitForFinished(20000));
    EXPECT_EQ(helper.exitCode(), 0) << helper.readAllStandardError().toStdString();
    auto paths = player.paths();
    ASSERT_TRUE(paths.ok());
    EXPECT_EQ(paths.value(),
              (std::vector<std::string>{"/v/already.mp4", "/v/一.mp4", "/v/two.mkv"}));
    // Nothing chosen: nothing appended.
    EXPECT_TRUE(addfiles::appendChosenFiles(player.file(), {}).ok());
    EXPECT_EQ(player.paths().value().size(), 3u);
}
