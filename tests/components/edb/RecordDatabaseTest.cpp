#include "edb/RecordDatabase.h"

#include "support/TempDataDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace qinglan::edb;
namespace fs = std::filesystem;

namespace {

const std::string kPassword = "pa55word!x";

class EdbRecordDatabase : public ::testing::Test {
protected:
    qinglan::test::TempDataDir dir;
    fs::path file = dir.path() / "list.edb";

    RecordDatabase make() {
        auto created = RecordDatabase::create(file, kPassword);
        EXPECT_TRUE(created.ok()) << created.status().message();
        return std::move(created).value();
    }
    RecordDatabase reopen() {
        auto opened = RecordDatabase::open(file, kPassword);
        EXPECT_TRUE(opened.ok()) << opened.status().message();
        return std::move(opened).value();
    }
};

std::vector<std::string> texts(const Result<std::vector<FieldValue>>& values) {
    std::vector<std::string> out;
    for (const auto& v : values.value())
        out.push_back(v.toText());
    return out;
}

TEST_F(EdbRecordDatabase, TypedFieldsSurviveReopen) {
    {
        auto db = make();
        ASSERT_TRUE(db.append().ok());
        ASSERT_TRUE(db.write(1, "黑体 ✓").ok());
        ASSERT_TRUE(db.write(62, std::int32_t{-38}).ok());
        ASSERT_TRUE(db.write(7, "").ok());
        ASSERT_TRUE(db.write(8, "1500").ok());
    }
    auto db = reopen();
    EXPECT_EQ(db.read(1).value(), FieldValue("黑体 ✓"));
    EXPECT_TRUE(db.read(62).value().isInteger());
    EXPECT_EQ(db.read(62).value().toInt32(), -38);
    EXPECT_TRUE(db.read(7).value().isText());
    EXPECT_EQ(db.read(7).value().toText(), "");
    // Text stays text even when it looks like a number.
    EXPECT_TRUE(db.read(8).value().isText());
    EXPECT_TRUE(db.read(99).value().isNull());
    auto all = db.readAll().value();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all.front().first, 1);
    EXPECT_EQ(all.back().first, 62);
}

TEST_F(EdbRecordDatabase, EveryWriteIsVisibleToAnotherConnectionAtOnce) {
    auto db = make();
    ASSERT_TRUE(db.append({{1, "a"}}).ok());
    ASSERT_TRUE(db.write(2, std::int32_t{5}).ok());
    auto other = reopen();
    EXPECT_EQ(other.read(1).value().toText(), "a");
    EXPECT_EQ(other.read(2).value().toInt32(), 5);
}

TEST_F(EdbRecordDatabase, RefusesBadFieldNumbersAndMissingRecords) {
    auto db = make();
    EXPECT_EQ(db.read(1).code(), ErrorCode::NoRecord);
    EXPECT_EQ(db.write(1, "x").code(), ErrorCode::NoRecord);
    EXPECT_EQ(db.goTo(1).code(), ErrorCode::NoRecord);
    ASSERT_TRUE(db.append().ok());
    EXPECT_EQ(db.write(0, "x").code(), ErrorCode::InvalidArgument);
    EXPECT_EQ(db.read(-1).code(), ErrorCode::InvalidArgument);
    EXPECT_EQ(db.goTo(2).code(), ErrorCode::NoRecord);
    EXPECT_EQ(RecordDatabase::create(file, kPassword).code(), ErrorCode::AlreadyExists);
}

TEST_F(EdbRecordDatabase, BatchAppendKeepsOrderAndNavigates) {
    auto db = make();
    std::vector<std::string> paths;
    for (int i = 0; i < 1000; ++i)
        paths.push_back("/媒体/file " + std::to_string(i) + ".mp4");
    ASSERT_TRUE(db.appendTexts(1, paths).ok());
    EXPECT_EQ(db.count().value(), 1000);
    EXPECT_EQ(db.currentIndex().value(), 1000);
    ASSERT_TRUE(db.goTo(3).ok());
    EXPECT_EQ(db.read(1).value().toText(), paths[2]);
    EXPECT_EQ(texts(reopen().readFieldOfAll(1)), paths);
}

TEST_F(EdbRecordDatabase, AFieldListedTwiceKeepsItsLastValue) {
    auto db = make();
    ASSERT_TRUE(db.append({{1, "a"}, {2, "x"}, {1, "b"}}).ok());
    ASSERT_TRUE(db.writeFields({{3, "c"}, {3, std::int32_t{4}}}).ok());
    EXPECT_EQ(db.read(1).value().toText(), "b");
    EXPECT_EQ(db.read(3).value(), FieldValue(std::int32_t{4}));
}

TEST_F(EdbRecordDatabase, FailedBatchLeavesNothingBehind) {
    auto db = make();
    ASSERT_TRUE(db.append({{1, "keep"}}).ok());
    std::vector<Record> batch = {{{1, "a"}}, {{0, "bad field"}}};
    EXPECT_EQ(db.appendRecords(batch).code(), ErrorCode::InvalidArgument);
    EXPECT_EQ(db.count().value(), 1);
    EXPECT_EQ(db.read(1).value().toText(), "keep");
}

TEST_F(EdbRecordDatabase, RemoveByFirstFieldDeletesEveryMatchAndCompacts) {
    auto db = make();
    std::vector<std::string> paths;
    std::string big(2000, 'x');
    for (int i = 0; i < 60; ++i)
        paths.push_back(i % 3 == 0 ? "/a.mp4" : "/other" + std::to_string(i) + big);
    ASSERT_TRUE(db.appendTexts(1, paths).ok());
    ASSERT_TRUE(db.goTo(2).ok()); // an entry that stays
    auto sizeBefore = fs::file_size(file);

    auto removed = db.removeByFirstField("/other1" + big);
    ASSERT_TRUE(removed.ok());
    EXPECT_EQ(removed.value(), 1);
    EXPECT_EQ(db.removeByFirstField("/a.mp4").value(), 20);
    EXPECT_EQ(db.removeByFirstField("/nothing").value(), 0);
    EXPECT_EQ(db.count().value(), 39);
    EXPECT_EQ(db.currentIndex().value(), 1); // the current record was removed: back to the first
    auto left = texts(db.readFieldOfAll(1));
    EXPECT_EQ(left.front(), "/other2" + big);
    EXPECT_EQ(std::count(left.begin(), left.end(), "/a.mp4"), 0);

    // Compaction gave the pages of the removed records back.
    for (int i = 2; i < 60; ++i)
        if (i % 3) db.removeByFirstField("/other" + std::to_string(i) + big);
    EXPECT_EQ(db.count().value(), 0);
    EXPECT_LT(fs::file_size(file), sizeBefore / 4);
}

TEST_F(EdbRecordDatabase, RemoveMatchesTextExactly) {
    auto db = make();
    ASSERT_TRUE(
        db.appendRecords({{{1, "5"}}, {{1, std::int32_t{5}}}, {{1, "5 "}}, {{2, "5"}}}).ok());
    EXPECT_EQ(db.removeByFirstField("5").value(), 1);
    EXPECT_EQ(db.count().value(), 3);
}

TEST_F(EdbRecordDatabase, ClearRemovesEveryRecord) {
    auto db = make();
    ASSERT_TRUE(db.appendTexts(1, {"a", "b", "c"}).ok());
    ASSERT_TRUE(db.clear().ok());
    EXPECT_EQ(db.count().value(), 0);
    EXPECT_EQ(db.read(1).code(), ErrorCode::NoRecord);
    EXPECT_EQ(reopen().count().value(), 0);
    ASSERT_TRUE(db.append({{1, "again"}}).ok());
    EXPECT_EQ(texts(db.readFieldOfAll(1)), std::vector<std::string>{"again"});
}

TEST(EdbFieldValue, NumbersTruncateTowardZeroIntoThe32BitRange) {
    EXPECT_EQ(FieldValue(2.9).toInt32(), 2);
    EXPECT_EQ(FieldValue(-2.9).toInt32(), -2);
    EXPECT_EQ(FieldValue(std::int64_t{5'000'000'000}).toInt32(), INT32_MAX);
    EXPECT_EQ(FieldValue(std::int64_t{-5'000'000'000}).toInt32(), INT32_MIN);
    EXPECT_EQ(FieldValue(1e30).toInt32(), INT32_MAX);
    EXPECT_EQ(FieldValue(" -12.7 ").toInt32(), -12);
    EXPECT_EQ(FieldValue("+40").toInt32(), 40);
    EXPECT_EQ(FieldValue("1e3").toInt32(), 1000);
    EXPECT_EQ(FieldValue("9223372036854775807").toInt32(), INT32_MAX);
    EXPECT_EQ(FieldValue("").toInt32(), 0);
    EXPECT_EQ(FieldValue("12px").toInt32(), 0);
    EXPECT_EQ(FieldValue("nan").toInt32(), 0);
    EXPECT_EQ(FieldValue().toInt32(), 0);
    EXPECT_EQ(FieldValue(std::int32_t{-7}).toText(), "-7");
    EXPECT_EQ(FieldValue(1.5).toText(), "1.5");
}

} // namespace
