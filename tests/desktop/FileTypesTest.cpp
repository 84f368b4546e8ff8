// At every start each of the 18 file types follows its check box, in the association page's
// order, and one type that cannot be changed does not stop the others.
#include <desktop/FileTypes.h>
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

TEST(FileTypes, TheEighteenTypesInOrderEachWithItsAssociationField) {
    const std::vector<std::pair<std::string, int>> expected = {
        {"avi", 197}, {"wmv", 198}, {"mpeg", 199}, {"mp4", 200}, {"mov", 201}, {"mkv", 202},
        {"flv", 203}, {"f4v", 87},  {"m4v", 88},   {"rmvb", 89}, {"rm", 90},   {"3gp", 91},
        {"dat", 92},  {"ape", 93},  {"mts", 94},   {"mp3", 95},  {"vob", 96},  {"flac", 97}};
    const auto types = desktop::fileTypes();
    ASSERT_EQ(types.size(), expected.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        EXPECT_EQ(types[i].extension, expected[i].first);
        EXPECT_EQ(types[i].field, expected[i].second);
        // The settings table files each of them on the association page, by the same name.
        const auto& info = settings::fieldInfo(types[i].field);
        EXPECT_EQ(info.page, settings::Page::Association);
        EXPECT_EQ(std::string(info.meaning), "associate ." + expected[i].first);
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
