// The list's rows: one per display name, with the full path beside it.
#include <medialist/ListModel.h>

#include <gtest/gtest.h>

using namespace qinglan::medialist;

TEST(ListModel, TwoColumnsHeadedAsDesigned) {
    ListModel m;
    EXPECT_EQ(m.columnCount(), 2);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), QStringLiteral("视频列表"));
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("路径列表"));
    ASSERT_TRUE(m.addRow("/视频/第一集.mp4"));
    EXPECT_EQ(m.data(m.index(0, 0)).toString(), QStringLiteral("第一集.mp4"));
    EXPECT_EQ(m.data(m.index(0, 1)).toString(), QStringLiteral("/视频/第一集.mp4"));
}

TEST(ListModel, ANameIsShownOnceWhicheverFolderHoldsIt) {
    ListModel m;
    EXPECT_TRUE(m.addRow("/a/clip.mp4"));
    EXPECT_FALSE(m.addRow("/b/clip.mp4"));
    EXPECT_FALSE(m.addRow("/a/clip.mp4"));
    EXPECT_TRUE(m.addRow("/b/other.mp4"));
    ASSERT_EQ(m.count(), 2);
    EXPECT_EQ(m.path(0), "/a/clip.mp4"); // the first one found keeps the row
    EXPECT_EQ(m.name(1), "other.mp4");
}

TEST(ListModel, RowsWithoutANameAreNotKept) {
    ListModel m;
    EXPECT_FALSE(m.addRow(""));
    EXPECT_FALSE(m.addRow("/videos/"));
    EXPECT_EQ(m.addRows({"/x/", "", "/x/a.mp4"}), 1);
    EXPECT_EQ(m.count(), 1);
}

TEST(ListModel, RemovingARowOrClearingLetsItsNameComeBack) {
    ListModel m;
    m.addRows({"/a/one.mp4", "/a/two.mp4", "/a/three.mp4"});
    m.removeRow(1);
    ASSERT_EQ(m.count(), 2);
    EXPECT_EQ(m.name(1), "three.mp4");
    EXPECT_TRUE(m.addRow("/b/two.mp4"));
    m.removeRow(7); // no such row: nothing
    EXPECT_EQ(m.count(), 3);
    m.clear();
    EXPECT_EQ(m.count(), 0);
    EXPECT_EQ(m.addRows({"/a/one.mp4", "/a/two.mp4"}), 2);
}

TEST(ListModel, ABatchIsOneInsertionOfOnlyItsNewRows) {
    ListModel m;
    m.addRow("/a/one.mp4");
    std::vector<std::pair<int, int>> inserted;
    QObject::connect(&m, &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) {
                         inserted.emplace_back(first, last);
                         EXPECT_EQ(m.rowCount(), last + 1); // the rows are there when told
                     });
    EXPECT_EQ(m.addRows({"/b/one.mp4", "/a/two.mp4", "/a/three.mp4", "/c/two.mp4"}), 2);
    EXPECT_EQ(inserted, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(m.path(2), "/a/three.mp4");
    EXPECT_EQ(m.addRows({"/z/one.mp4"}), 0);
    EXPECT_EQ(inserted.size(), 1u);
}

TEST(ListModel, NamesThatAreNotUtf8KeepTheirBytes) {
    ListModel m;
    const std::string latin1 = "/films/caf\xe9.mp4";
    ASSERT_TRUE(m.addRow(latin1));
    EXPECT_EQ(m.path(0), latin1);
    EXPECT_EQ(m.name(0), "caf\xe9.mp4");
    EXPECT_FALSE(m.data(m.index(0, 0)).toString().isEmpty());
    // A different byte is a different name.
    EXPECT_TRUE(m.addRow("/films/caf\xe8.mp4"));
}
