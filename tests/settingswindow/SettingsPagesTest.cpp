// Every option row of every page, used the way a user uses it: it must store its fields in
// their encoding and send what its row says, and a page opened again must show what is stored.
#include "SettingsWindowHarness.h"

#include <settings/SettingsFields.h>
#include <ui/Controls.h>
#include <ui/SettingsOptions.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

namespace qinglan::settingswindow::test {
namespace {

using ui::Binding;
using ui::OptionRow;

std::string joined(SettingsWindowTest& t, const OptionRow& row, std::string own,
                   const std::function<std::string(int)>& read) {
    if (row.sendJoined.empty()) return own;
    std::string s;
    for (std::size_t i = 0; i < row.sendJoined.size(); ++i) {
        if (i) s += ';';
        s += row.sendJoined[i] == row.fields.front() ? own : read(row.sendJoined[i]);
    }
    (void)t;
    return s;
}

class PageWalk : public SettingsWindowTest, public ::testing::WithParamInterface<const char*> {};

// Uses each control of the page once and checks what it stored and sent.
TEST_P(PageWalk, EveryControlStoresAndSendsAsItsRowSays) {
    const std::string role = GetParam();
    ui::CatalogueWindow* page = showPage(role);
    ASSERT_NE(page, nullptr);
    const ui::PageOptions* options = ui::findPageOptions(role);
    ASSERT_NE(options, nullptr);
    auto read = [this](int f) { return field(f); };

    for (const OptionRow& row : options->rows) {
        const std::string where = role + " " + std::string(row.controls.front().name);
        switch (row.binding) {
        case Binding::RadioGroup:
        case Binding::ExclusiveChecks:
        case Binding::SingleCheck:
            for (std::size_t i = row.controls.size(); i-- > 0;) {
                auto* b = control<QAbstractButton>(page, row.controls[i].name);
                ASSERT_NE(b, nullptr) << where;
                if (!b->isEnabled()) continue; // a rule has switched the row off
                if (b->isChecked() && row.binding != Binding::RadioGroup) b->click();
                sent_.clear();
                b->click();
                for (std::size_t j = 0; j < row.fields.size(); ++j)
                    EXPECT_EQ(field(row.fields[j]), j == i ? "1" : "0")
                        << where << " option " << i << " field " << row.fields[j];
                if (row.sendId) {
                    EXPECT_EQ(lastSent(row.sendId), std::string(row.sendValues[i])) << where;
                } else if (row.rule != ui::OptionRule::SizeBoxes) {
                    EXPECT_TRUE(sent_.empty()) << where << " sends without a row id";
                }
            }
            break;
        case Binding::NamedList:
        case Binding::NumberList: {
            auto* combo = control<QComboBox>(page, row.controls.front().name);
            ASSERT_NE(combo, nullptr) << where;
            if (combo->count() == 0) break; // an index list only shows the stored value
            const int k = combo->count() - 1;
            combo->setCurrentIndex(k);
            emit combo->activated(k);
            EXPECT_EQ(QString::fromStdString(field(row.fields.front())), combo->itemText(k))
                << where;
            if (row.sendId) {
                const std::string expected = row.sendValues.empty()
                                                 ? combo->itemText(k).toStdString()
                                                 : std::string(row.sendValues[k]);
                EXPECT_EQ(lastSent(row.sendId), expected) << where;
            }
            break;
        }
        case Binding::Slider: {
            auto* slider = control<QSlider>(page, row.controls.front().name);
            ASSERT_NE(slider, nullptr) << where;
            if (!slider->isEnabled()) break;
            const int p = slider->maximum() - 1;
            slider->setValue(p);
            emit static_cast<ui::Trackbar*>(slider)->positionChanged(p);
            EXPECT_EQ(field(row.fields.front()), std::to_string(p)) << where;
            EXPECT_EQ(window_->windowTitle().toStdString(),
                      std::string(row.title) + std::to_string(p) + std::string(row.unit))
                << where;
            if (row.sendId) {
                EXPECT_EQ(lastSent(row.sendId), joined(*this, row, std::to_string(p), read))
                    << where;
            }
            break;
        }
        case Binding::Colour: {
            auto* picker = control<ui::ColourPicker>(page, row.controls.front().name);
            ASSERT_NE(picker, nullptr) << where;
            picker->setColorRef(0x123456);
            emit picker->colourChosen(0x123456);
            EXPECT_EQ(field(row.fields.front()), "1193046") << where;
            if (row.sendId) {
                EXPECT_EQ(lastSent(row.sendId), joined(*this, row, "1193046", read)) << where;
            }
            break;
        }
        case Binding::EditBox: {
            auto* edit = control<QLineEdit>(page, row.controls.front().name);
            ASSERT_NE(edit, nullptr) << where;
            edit->setText("321");
            EXPECT_EQ(field(row.fields.front()), "321") << where;
            if (row.sendId) {
                EXPECT_EQ(lastSent(row.sendId), joined(*this, row, "321", read)) << where;
            }
            break;
        }
        default:
            break;
        }
    }
}

// What is stored shows again when the page is built anew: store -> page -> store unchanged.
TEST_P(PageWalk, APageShowsWhatIsStored) {
    const std::string role = GetParam();
    const ui::PageOptions* options = ui::findPageOptions(role);
    ASSERT_NE(options, nullptr);
    // A value for every row that differs from the defaults.
    for (const OptionRow& row : options->rows) {
        switch (row.binding) {
        case Binding::RadioGroup:
        case Binding::ExclusiveChecks:
        case Binding::SingleCheck:
            for (std::size_t j = 0; j < row.fields.size(); ++j)
                setField(row.fields[j], j + 1 == row.fields.size() ? "1" : "0");
            break;
        case Binding::NamedList:
        case Binding::NumberList: {
            const auto& items = row.controls.front().items;
            setField(row.fields.front(), items.empty() ? "7" : std::string(items[1]));
            break;
        }
        case Binding::Slider:
            setField(row.fields.front(), std::to_string(row.controls.front().range.minimum + 3));
            break;
        case Binding::Colour:
            setField(row.fields.front(), "255");
            break;
        case Binding::EditBox:
            setField(row.fields.front(), "/some/where 12");
            break;
        default:
            break;
        }
    }
    ui::CatalogueWindow* page = showPage(role);
    ASSERT_NE(page, nullptr);
    for (const OptionRow& row : options->rows) {
        const std::string where = role + " " + std::string(row.controls.front().name);
        const auto& first = row.controls.front();
        switch (row.binding) {
        case Binding::RadioGroup:
        case Binding::ExclusiveChecks:
        case Binding::SingleCheck:
            for (std::size_t j = 0; j < row.fields.size(); ++j)
                EXPECT_EQ(control<QAbstractButton>(page, row.controls[j].name)->isChecked(),
                          field(row.fields[j]) == "1")
                    << where << " option " << j;
            break;
        case Binding::NamedList:
        case Binding::NumberList:
            EXPECT_EQ(control<QComboBox>(page, first.name)->currentText().toStdString(),
                      field(row.fields.front()))
                << where;
            break;
        case Binding::Slider:
            EXPECT_EQ(std::to_string(control<QSlider>(page, first.name)->value()),
                      field(row.fields.front()))
                << where;
            break;
        case Binding::Colour:
            EXPECT_EQ(control<ui::ColourPicker>(page, first.name)->colorRef(), 255u) << where;
            break;
        case Binding::EditBox:
            EXPECT_EQ(control<QLineEdit>(page, first.name)->text().toStdString(),
                      field(row.fields.front()))
                << where;
            break;
        default:
            break;
        }
    }
    EXPECT_TRUE(sent_.empty()) << "filling a page sends nothing";
}

INSTANTIATE_TEST_SUITE_P(SettingsPages, PageWalk,
                         ::testing::Values("SettingsWindow", "SubtitlePage", "PicturePage",
                                           "SoundPage", "GeneralPage", "ScreenshotPage",
                                           "TranscodePage", "AssociationPage", "VrPage"),
                         [](const auto& param) { return std::string(param.param); });

} // namespace
} // namespace qinglan::settingswindow::test
