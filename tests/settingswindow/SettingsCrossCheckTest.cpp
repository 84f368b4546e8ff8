// The settings window's views of one fact checked against each other: what a picture or sound
// row sends at once against what the open re-sends for the same stored choice, and the hotkey
// page against the hotkeys the main window registers from what the page stored.
#include "SettingsWindowHarness.h"

#include <hotkeys/HotkeyBinder.h>
#include <hotkeys/Hotkeys.h>
#include <platform/fake/FakeHotkeyRegistrar.h>
#include <settings/SettingsRecord.h>
#include <settingswindow/ApplyAllSettings.h>
#include <ui/Controls.h>
#include <ui/SettingsOptions.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <optional>

namespace qinglan::settingswindow::test {
namespace {

using ui::Binding;
using ui::OptionRow;

class CrossCheck : public SettingsWindowTest {
protected:
    // The switches that hold back part of a page at an open: 3D, surround and AC3-DTS on.
    void openTheGates() {
        for (auto [on, off] : {std::pair{73, 74}, {106, 107}, {109, 110}}) {
            setField(on, "1");
            setField(off, "0");
        }
    }
    // What the open sends for `id`; nothing when it sends no value or more than one.
    std::optional<std::string> sentAtOpen(int id) {
        settings::SettingsRecord record;
        EXPECT_TRUE(record.load(store_).ok());
        std::optional<std::string> value;
        int count = 0;
        for (const ConfigValue& c : applyAllSettings(record, {}))
            if (c.id == id) {
                value = c.value;
                ++count;
            }
        return count == 1 ? value : std::nullopt;
    }
};

// Every way a row can be set, as the stored values and the text the row sends at once for it.
struct Case {
    std::vector<std::pair<int, std::string>> stored;
    std::string sendsAtOnce;
};

std::vector<Case> casesOf(const OptionRow& row) {
    std::vector<Case> cases;
    switch (row.binding) {
    case Binding::RadioGroup:
    case Binding::ExclusiveChecks:
        for (std::size_t i = 0; i < row.fields.size(); ++i) {
            Case c{.stored = {}, .sendsAtOnce = std::string(row.sendValues.at(i))};
            for (std::size_t j = 0; j < row.fields.size(); ++j)
                c.stored.emplace_back(row.fields[j], i == j ? "1" : "0");
            cases.push_back(c);
        }
        break;
    case Binding::NamedList:
    case Binding::NumberList: {
        const auto& items = row.controls.front().items;
        for (std::size_t k = 0; k < items.size(); ++k)
            cases.push_back({{{row.fields.front(), std::string(items[k])}},
                             row.sendValues.empty() ? std::string(items[k])
                                                    : std::string(row.sendValues.at(k))});
        break;
    }
    case Binding::Slider: {
        const std::string p = std::to_string(row.controls.front().range.minimum + 7);
        cases.push_back({{{row.fields.front(), p}}, p});
        break;
    }
    default:
        ADD_FAILURE() << row.controls.front().name << ": a kind of row the open does not send";
    }
    return cases;
}

// The picture and sound pages send at once and again at every open: for the same stored choice
// both must send the same value under the same id.
TEST_F(CrossCheck, PictureAndSoundRowsSendAtOnceWhatTheOpenSends) {
    int checked = 0;
    for (settings::Page page : {settings::Page::Picture, settings::Page::Sound})
        for (const OptionRow& row : ui::pageOptions(page).rows) {
            if (row.sendId == 0) continue;
            for (const Case& c : casesOf(row)) {
                openTheGates();
                for (const auto& [field, value] : c.stored)
                    setField(field, value);
                EXPECT_EQ(sentAtOpen(row.sendId), c.sendsAtOnce)
                    << row.controls.front().name << " id " << row.sendId << " field "
                    << c.stored.front().first << " = " << c.stored.front().second;
                ++checked;
            }
        }
    EXPECT_GE(checked, 60) << "every option of the two pages is checked";
}

// The box of a hotkey is found by its label, as the user finds it: on the same line.
QLineEdit* boxBeside(ui::CatalogueWindow* page, const char* label) {
    for (auto* l : page->findChildren<QLabel*>())
        if (l->text() == QString::fromUtf8(label))
            for (auto* box : page->findChildren<QLineEdit*>())
                if (box->parentWidget() == l->parentWidget() && box->y() == l->y()) return box;
    return nullptr;
}

// A combination typed into a box of the page is the one the main window registers for that
// box's action, and the fixed boxes show the keys registered for theirs.
TEST_F(CrossCheck, TheHotkeyPageStoresWhatTheMainWindowRegisters) {
    ui::CatalogueWindow* page = showPage("HotkeyPage");
    ASSERT_NE(page, nullptr);
    struct Typed {
        hotkeys::HotkeyAction action;
        int key; // pressed after Shift
    };
    std::vector<Typed> typed;
    int letter = Qt::Key_A;
    for (const auto& row : hotkeys::hotkeyRows()) {
        QLineEdit* box = boxBeside(page, row.label);
        ASSERT_NE(box, nullptr) << row.label;
        if (!row.configurable()) {
            EXPECT_TRUE(box->isReadOnly()) << row.label;
            EXPECT_EQ(box->text(), QString::fromUtf8(row.fixedName)) << row.label;
            continue;
        }
        auto* edit = qobject_cast<ui::EditBox*>(box);
        ASSERT_NE(edit, nullptr) << row.label;
        bool consumed = false;
        for (int key : {int(Qt::Key_Shift), letter})
            emit edit->keyPressed(key, 0, &consumed);
        typed.push_back({row.action, letter});
        ++letter;
    }
    ASSERT_EQ(typed.size(), 6u);

    platform::FakeHotkeyRegistrar registrar;
    std::vector<int> pressed;
    registrar.setPressCallback([&](int id) { pressed.push_back(id); });
    hotkeys::HotkeyBinder binder(registrar);
    EXPECT_EQ(binder.activate([this](int f) { return std::stoi("0" + field(f)); }), 9);
    auto actionOfPress = [&](int modifiers, int key) -> std::optional<hotkeys::HotkeyAction> {
        pressed.clear();
        if (!registrar.press(modifiers, key)) return std::nullopt;
        QCoreApplication::processEvents();
        if (pressed.size() != 1) return std::nullopt;
        return binder.actionOf(pressed.front());
    };
    constexpr int kShift = 2;
    for (const Typed& t : typed) // Qt's letter keys are their virtual-key codes
        EXPECT_EQ(actionOfPress(kShift, t.key), t.action) << "Shift+" << char(t.key);
    for (const auto& row : hotkeys::hotkeyRows())
        if (!row.configurable()) {
            EXPECT_EQ(actionOfPress(0, row.fixedKey), row.action) << row.label;
        }
}

} // namespace
} // namespace qinglan::settingswindow::test
