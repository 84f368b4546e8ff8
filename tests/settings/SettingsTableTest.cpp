// The field table against the published defaults, typed independently of the table in code.
#include "settings/SettingsFields.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"
#include "settings/StoreLocation.h"

#include "support/TempDataDir.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

using namespace qinglan::settings;

namespace {

// "n=value" items; "a-b=value" for a run of equal values; "*" marks the special folder.
const char* const kPublishedDefaults =
    "1=1|2=0|3=0|4=1|5=0|6=黑体|7=1500|8=25|9=20|10=20|11=16746496|12=65535|13=0|14=1|15=0|16=1|17="
    "0|"
    "18=0|19=0|20=1|21=1|22=0|23=15527148|24=|25=1|26=0|27=0|28=0|29=1|30=0|31=0|32=0|33=0|34=1|35="
    "1|"
    "36=0|37=50|38=90|39=5000|40=1|41=0|42=宋体|43=18|44=16777215|45=1|46=0|47=0|48=1|49=0|50=0|51="
    "0|"
    "52=1|53=0|54=1|55-58=50|59=增强型(EVR)|60=0|61=0|62=38|63=0|64=0|65=1|66=1|67=0|68=0|69=1|70="
    "0|71=1|"
    "72=0|73=0|74=1|75=1|76=0|77=红青|78=1|79=0|80=0|81=1|82=0|83=1|84=0|85=1|86=0|87-97=0|98=1|99-"
    "101=0|"
    "102=0|103=0|104=1|105=0|106=1|107=0|108=10|109=0|110=1|111=0|112=1|113=0|114=0|115=20|116=0|"
    "117=1|"
    "118=0|119=1.28|120=1.02|121=350.6|122=1|123=0|124=5|125=1|126=0|127=0|128=16777215|129=0|130="
    "20|"
    "131=50|132=0|133=1|134=0|135=1|136=0|137=1|138=0|139=640|140=480|141=0|142=0|143=1|144=mp4|"
    "145=*|"
    "146=1|147=0|148-153=0|154=1|155=0|156=1|157=0|158=640|159=480|160=1|161=0|162=75|163=jpg|164=*"
    "|"
    "176=0|177=40|178=4|179=0|180=37|181=4|182=0|183=39|184=0|185=0|186=27|187=↑|188=↓|189=Alt+←|"
    "190=Alt+→|191=Esc|192=Ctrl+Alt+Q|193=1|194=4|195=81|196=70|197-203=0";

std::map<int, std::string> publishedDefaults() {
    std::map<int, std::string> out;
    std::stringstream items(kPublishedDefaults);
    std::string item;
    while (std::getline(items, item, '|')) {
        auto eq = item.find('=');
        std::string range = item.substr(0, eq), value = item.substr(eq + 1);
        auto dash = range.find('-');
        int from = std::stoi(range.substr(0, dash));
        int to = dash == std::string::npos ? from : std::stoi(range.substr(dash + 1));
        for (int n = from; n <= to; ++n)
            out[n] = value;
    }
    return out;
}

bool inRanges(int n, std::initializer_list<std::pair<int, int>> ranges) {
    for (auto [a, b] : ranges)
        if (n >= a && n <= b) return true;
    return false;
}

TEST(SettingsTable, IntegerFieldsAreExactlyThePublishedOnes) {
    for (int n = 1; n <= kFieldCount; ++n) {
        bool integer = inRanges(n, {{60, 63}, {165, 166}, {168, 172}, {174, 186}, {193, 196}});
        EXPECT_EQ(isIntegerField(n), integer) << "field " << n;
    }
    EXPECT_FALSE(isSettingsField(0));
    EXPECT_FALSE(isSettingsField(208));
}

TEST(SettingsTable, FreshStoreHoldsEveryPublishedDefault) {
    qinglan::test::TempDataDir dir;
    SettingsStore store(dir.playerDataDir());
    ASSERT_TRUE(store.open().ok());
    auto all = store.readAll();
    ASSERT_TRUE(all.ok());
    auto expected = publishedDefaults();
    EXPECT_EQ(expected.size(), 192u); // every field but 165 to 175 and 204 to 207
    std::string folder = defaultSaveFolder().string();
    for (auto [n, value] : expected) {
        const SettingsValue& got = all.value()[static_cast<std::size_t>(n - 1)];
        EXPECT_EQ(got.isInteger(), isIntegerField(n)) << "field " << n;
        EXPECT_EQ(got.toText(), value == "*" ? folder : value) << "field " << n;
        EXPECT_NE(fieldInfo(n).kind, DefaultKind::FirstRunOnly) << "field " << n;
    }
}

TEST(SettingsTable, FreshStoreReadsAsTheDocumentedPlayer) {
    qinglan::test::TempDataDir dir;
    SettingsStore store(dir.playerDataDir());
    SettingsRecord record;
    ASSERT_TRUE(record.load(store).ok());
    // Lyrics shown, centred, font 黑体, renderer 增强型(EVR).
    EXPECT_TRUE(record.isOn(1));
    EXPECT_FALSE(record.isOn(2));
    EXPECT_TRUE(record.isOn(4));
    EXPECT_EQ(record.text(6), "黑体");
    EXPECT_EQ(record.text(59), "增强型(EVR)");
    EXPECT_EQ(record.integer(196), 70);
}

TEST(SettingsTable, RecordHoldsEveryFieldButThreeInAscendingOrder) {
    std::vector<int> expected;
    for (int n = 1; n <= 164; ++n)
        expected.push_back(n);
    for (int n = 167; n <= 205; ++n)
        expected.push_back(n);
    expected.push_back(207);
    auto held = recordFields();
    EXPECT_EQ(std::vector<int>(held.begin(), held.end()), expected);
}

TEST(SettingsTable, PageDefaultOrders) {
    auto order = [](Page p) {
        auto s = pageDefaultOrder(p);
        return std::vector<int>(s.begin(), s.end());
    };
    auto run = [](int a, int b) {
        std::vector<int> v;
        for (int n = a; n <= b; ++n)
            v.push_back(n);
        return v;
    };
    auto join = [](std::vector<int> a, const std::vector<int>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    EXPECT_EQ(order(Page::Lyrics), run(1, 31));
    EXPECT_EQ(order(Page::Subtitle), run(32, 50));
    EXPECT_EQ(order(Page::Picture), join(join(run(51, 59), run(64, 86)), {}));
    EXPECT_EQ(order(Page::Sound), run(98, 115));
    EXPECT_EQ(order(Page::General), join(run(132, 134), {196}));
    EXPECT_EQ(order(Page::Screenshot), run(154, 164));
    EXPECT_EQ(order(Page::Hotkey), join(run(60, 63), run(176, 195)));
    EXPECT_EQ(order(Page::Transcode), run(135, 153));
    EXPECT_EQ(order(Page::Association), join(run(197, 203), run(87, 97)));
    EXPECT_EQ(order(Page::VirtualReality), run(116, 131));
    EXPECT_TRUE(order(Page::None).empty());
}

} // namespace
