// At every start each of the 18 file types follows its check box, in the association page's
// order, and one type that cannot be changed does not stop the others.
#include <desktop/FileTypes.h>
#include <platform/FileTypes.h>
#include <platform/fake/FakeFileAssociations.h>
#include <settings/SettingsFields.h>

#include <gtest/gtest.h>

#include <map>

using namespace qinglan;

namespace {
desktop::SettingText settingsOf(std::map<int, std::string> values) {
    return [values](int field) {
        const auto it = values.find(field);
        return it == values.end() ? std::string("0") : it->second;
    };
}
} // namespace

TEST(FileTypes, TheEighteenTypesInOrderEachWithItsMimeTypeAndAssociationField) {
    struct Row {
        std::string extension, mimeType;
        int field;
    };
    const std::vector<Row> expected = {{"avi", "video/x-msvideo", 197},
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
                                       {"flac", "audio/flac", 97}};
    const auto types = platform::fileTypes();
    ASSERT_EQ(types.size(), expected.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        EXPECT_EQ(types[i].extension, expected[i].extension);
        EXPECT_EQ(types[i].mimeType, expected[i].mimeType);
        EXPECT_EQ(types[i].field, expected[i].field);
        // The settings table files each of them on the association page, by the same name,
        // unticked by default.
        const auto& info = settings::fieldInfo(types[i].field);
        EXPECT_EQ(info.number, expected[i].field);
        EXPECT_EQ(info.type, settings::FieldType::Text);
        EXPECT_EQ(info.page, settings::Page::Association);
        EXPECT_EQ(std::string(info.meaning), "associate ." + expected[i].extension);
        EXPECT_EQ(std::string(info.value), "0");
    }
}

TEST(FileTypes, OnlyExactlyOneAsksForTheAssociation) {
    platform::FakeFileAssociations fake;
    const platform::AssociatedProgram program{"/opt/qinglan/qinglan", {{16, "png"}}};
    desktop::applyFileTypeSettings(
        fake, program,
        settingsOf({{197, "1"}, {198, "true"}, {199, " 1"}, {200, ""}, {201, "1 "}, {97, "1"}}));
    ASSERT_EQ(fake.calls().size(), 1u);
    const auto& call = fake.calls().front();
    EXPECT_EQ(call.program.executable, "/opt/qinglan/qinglan");
    ASSERT_EQ(call.program.icons.size(), 1u);
    ASSERT_EQ(call.choices.size(), 18u);
    for (const auto& choice : call.choices)
        EXPECT_EQ(choice.associate, choice.extension == "avi" || choice.extension == "flac")
            << choice.extension;

    // The next start with the boxes cleared takes both away again.
    desktop::applyFileTypeSettings(fake, program, settingsOf({}));
    EXPECT_FALSE(fake.associated("avi"));
    EXPECT_FALSE(fake.associated("flac"));
}

TEST(FileTypes, ARefusedTypeIsReportedAndTheOthersStillFollow) {
    platform::FakeFileAssociations fake;
    fake.refuse("mp4");
    const auto failed = desktop::applyFileTypeSettings(
        fake, {"/opt/qinglan/qinglan", {}}, settingsOf({{200, "1"}, {201, "1"}, {97, "1"}}));
    EXPECT_EQ(failed, std::vector<std::string>{"mp4"});
    EXPECT_FALSE(fake.associated("mp4"));
    EXPECT_TRUE(fake.associated("mov"));
    EXPECT_TRUE(fake.associated("flac"));
}
