// The generic bindings of the option rows: one fill and one handler per kind of control. Radio,
// check-box and colour handlers send (where their row sends), write every field of their row,
// then refocus the page; sliders, lists and boxes send and store without refocusing, so the
// title keeps showing a slider's value.
#include "WindowContext.h"

#include <hotkeys/HotkeyCapture.h>
#include <keynames/KeyNames.h>
#include <ui/Controls.h>
#include <ui/Find.h>
#include <ui/WindowFactory.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

namespace qinglan::settingswindow {

using ui::Binding;
using ui::CatalogueWindow;
using ui::OptionRow;
using ui::OptionRule;
using ui::UiEvent;

namespace {

QString q(std::string_view s) {
    return ui::toQString(s);
}

template <class T> T* controlOf(CatalogueWindow* w, std::string_view name) {
    return ui::find<T>(w, q(name));
}

int indexOfControl(const OptionRow& row, const QString& name) {
    for (std::size_t i = 0; i < row.controls.size(); ++i)
        if (q(row.controls[i].name) == name) return static_cast<int>(i);
    return -1;
}

std::string valueAt(const std::vector<std::string_view>& values, int index) {
    return index >= 0 && index < static_cast<int>(values.size()) ? std::string(values[index])
                                                                 : std::string();
}

// What the row sends for its own new value: a composite of several fields, or the value itself.
std::string sendText(const Context& c, const OptionRow& row, const std::string& own) {
    if (row.sendJoined.empty()) return own;
    std::string joined;
    for (std::size_t i = 0; i < row.sendJoined.size(); ++i) {
        const int f = row.sendJoined[i];
        if (i) joined += ';';
        joined += f == row.fields.front() ? own : c.read(f);
    }
    return joined;
}

// The flags of a choice are written together, in one transaction.
void writeFlags(const Context& c, CatalogueWindow* w, const OptionRow& row) {
    std::vector<std::pair<int, settings::SettingsValue>> flags;
    for (std::size_t i = 0; i < row.controls.size() && i < row.fields.size(); ++i) {
        auto* b = controlOf<QAbstractButton>(w, row.controls[i].name);
        flags.emplace_back(row.fields[i], b && b->isChecked() ? "1" : "0");
    }
    if (auto* s = c.store()) (void)s->writeFields(flags); // a failed write is the store's to report
}

void setEnabled(CatalogueWindow* w, std::string_view name, bool enabled) {
    if (auto* widget = controlOf<QWidget>(w, name)) widget->setEnabled(enabled);
}

void setReadOnly(CatalogueWindow* w, std::string_view name, bool readOnly) {
    if (auto* edit = controlOf<QLineEdit>(w, name)) edit->setReadOnly(readOnly);
}

void setTextQuietly(QLineEdit* edit, const QString& text) {
    if (!edit) return;
    const QSignalBlocker quiet(edit);
    edit->setText(text);
}

// The size boxes show the stored custom size again.
void refillSizeBoxes(const Context& c, CatalogueWindow* w, const OptionRow& row) {
    for (auto name : row.partners) {
        const auto* boxRow = ui::findOptionRow(w->role().toStdString(), name);
        if (boxRow)
            setTextQuietly(controlOf<QLineEdit>(w, name),
                           QString::fromStdString(c.read(boxRow->fields.front())));
    }
}

// What a chosen option (by its place in the row) switches on and off around it; the same when
// the user chooses it and when a page opens with it stored. -1: none chosen, nothing changes.
void applyChoiceState(CatalogueWindow* w, const OptionRow& row, int chosen) {
    if (chosen < 0) return;
    switch (row.rule) {
    case OptionRule::Ac3Rows:
        for (auto name : row.partners)
            setEnabled(w, name, chosen == 0);
        break;
    case OptionRule::LyricsBackground: // partners: colour picker, path box, "打开"
        setEnabled(w, row.partners[0], chosen == 0);
        setReadOnly(w, row.partners[1], chosen == 0);
        setEnabled(w, row.partners[2], chosen != 0);
        break;
    case OptionRule::SizeBoxes: // the source size locks the custom size boxes
        for (auto name : row.partners)
            setReadOnly(w, name, chosen == 0);
        break;
    default:
        break;
    }
}

void showHint(CatalogueWindow* w, const OptionRow& row, int index) {
    if (index < 0 || index >= static_cast<int>(row.hints.size())) return;
    if (auto* label = controlOf<QLabel>(w, row.partners.front()))
        label->setText(q(row.hints[index]));
}

// A choice among radios or check boxes: the rule that goes with it. Unticking a box of a
// rule's pair changes nothing around it.
void applyChoiceRule(const Context& c, CatalogueWindow* w, const OptionRow& row, int index,
                     bool checked) {
    if (row.rule == OptionRule::Ac3Rows) {
        applyChoiceState(w, row, index);
        return;
    }
    if (!checked) return;
    applyChoiceState(w, row, index);
    if (row.rule != OptionRule::SizeBoxes) return;
    refillSizeBoxes(c, w, row);
    if (index == 0)
        for (int id : row.sendZero)
            c.send(id, "0");
}

// ---- the handlers ------------------------------------------------------------------------

void chooseOption(const Context& c, CatalogueWindow* w, const OptionRow& row, UiEvent& e) {
    const int index = indexOfControl(row, e.control);
    auto* clicked = qobject_cast<QAbstractButton*>(e.source);
    bool checked = clicked && clicked->isChecked();
    // A click on the ticked box of such a pair chooses it again instead of leaving none chosen.
    if (row.rule == OptionRule::OneAlwaysTicked && clicked && !checked) {
        const QSignalBlocker quiet(clicked);
        clicked->setChecked(true);
        checked = true;
    }
    if (row.binding == Binding::ExclusiveChecks && checked)
        for (const auto& other : row.controls)
            if (auto* b = controlOf<QAbstractButton>(w, other.name); b && b != clicked)
                b->setChecked(false);
    if (row.sendId != 0) c.send(row.sendId, valueAt(row.sendValues, index));
    writeFlags(c, w, row);
    applyChoiceRule(c, w, row, index, checked);
    refocusPage(w);
}

void chooseListItem(const Context& c, CatalogueWindow* w, const OptionRow& row, UiEvent& e) {
    const std::string text = e.text.toStdString();
    if (row.sendId != 0)
        c.send(row.sendId,
               row.sendValues.empty() ? sendText(c, row, text) : valueAt(row.sendValues, e.first));
    c.write(row.fields.front(), text);
    if (row.rule == OptionRule::RendererHint) showHint(w, row, e.first);
}

void moveSlider(const Context& c, CatalogueWindow* w, const OptionRow& row, UiEvent& e) {
    const int p = e.first;
    setSettingsTitle(w, sliderTitle(row.title, p, row.unit));
    if (row.sendId != 0) c.send(row.sendId, sendText(c, row, std::to_string(p)));
    const int field = row.fields.front();
    if (settings::isIntegerField(field))
        c.write(field, static_cast<std::int32_t>(p));
    else
        c.write(field, std::to_string(p));
    if (row.rule == OptionRule::ListOpacity && c.services.setListOpacity)
        c.services.setListOpacity(p);
}

void chooseColour(const Context& c, CatalogueWindow* w, const OptionRow& row, UiEvent& e) {
    const std::string text = std::to_string(static_cast<unsigned>(e.first));
    if (row.sendId != 0) c.send(row.sendId, sendText(c, row, text));
    c.write(row.fields.front(), text);
    refocusPage(w);
}

void editText(const Context& c, const OptionRow& row, UiEvent& e) {
    const std::string text = e.text.toStdString();
    c.write(row.fields.front(), text);
    if (row.sendId != 0) c.send(row.sendId, sendText(c, row, text));
}

// A list's edit text must be one of its names, or a number that survives the round trip.
bool listTextAllowed(const OptionRow& row, const QString& text) {
    if (row.binding == Binding::NumberList) return QString::number(text.toLongLong()) == text;
    const auto& items = row.controls.front().items;
    return std::any_of(items.begin(), items.end(), [&](auto item) { return q(item) == text; });
}

// ---- hotkey boxes --------------------------------------------------------------------------

// The capture state of one box lives with the box.
class CaptureHolder : public QObject {
public:
    CaptureHolder(QLineEdit* box, const Context& c, const std::vector<int>& f)
        : QObject(box),
          capture(
              {f[0], f[1], f[2], f[3]},
              // Filling the box runs the same step as typing into it; a value the file
              // already holds is not written again (each write is a committed transaction).
              [&c](int field, const settings::SettingsValue& v) {
                  if (c.read(field) != v.toText()) c.write(field, v);
              },
              [box](const std::string& text) {
                  setTextQuietly(box, QString::fromStdString(text));
              }) {
        setObjectName(QStringLiteral("hotkeyCapture"));
    }
    hotkeys::HotkeyCapture capture;
};

CaptureHolder* captureOf(QLineEdit* box) {
    return box ? box->findChild<CaptureHolder*>(QStringLiteral("hotkeyCapture"),
                                                Qt::FindDirectChildrenOnly)
               : nullptr;
}

} // namespace

void releaseHotkeyBoxes(CatalogueWindow* page) {
    if (!page) return;
    for (auto* box : page->findChildren<QLineEdit*>())
        if (auto* holder = captureOf(box)) holder->capture.focusLost();
}

// ---- filling a page from the store ---------------------------------------------------------

void fillPage(const Context& c, CatalogueWindow* w) {
    const auto* options = ui::findPageOptions(w->role().toStdString());
    if (!options || !c.store()) return;
    // One read of the whole record instead of one per field.
    const auto all = c.store()->readAll();
    if (!all.ok()) return;
    struct Snapshot {
        const std::vector<settings::SettingsValue>& values;
        std::string read(int f) const {
            return f >= 1 && f <= static_cast<int>(values.size()) ? values[f - 1].toText()
                                                                  : std::string();
        }
    } snap{all.value()};
    for (const OptionRow& row : options->rows) {
        const auto& first = row.controls.front();
        switch (row.binding) {
        case Binding::RadioGroup:
        case Binding::ExclusiveChecks:
        case Binding::SingleCheck:
            for (std::size_t i = 0; i < row.controls.size() && i < row.fields.size(); ++i)
                if (snap.read(row.fields[i]) == "1")
                    if (auto* b = controlOf<QAbstractButton>(w, row.controls[i].name)) {
                        const QSignalBlocker quiet(b);
                        b->setChecked(true);
                    }
            break;
        case Binding::NamedList:
        case Binding::NumberList:
            if (auto* combo = controlOf<QComboBox>(w, first.name)) {
                const QSignalBlocker quiet(combo);
                const QString text = QString::fromStdString(snap.read(row.fields.front()));
                const int index = combo->findText(text);
                combo->setCurrentIndex(index);
                // A name list shows only its own names, as its edit rule does.
                const bool shown = index >= 0 || row.binding == Binding::NumberList;
                combo->setEditText(shown ? text : QString());
                if (row.rule == OptionRule::RendererHint) showHint(w, row, index);
            }
            break;
        case Binding::Slider:
            if (auto* slider = controlOf<QSlider>(w, first.name)) {
                const QSignalBlocker quiet(slider);
                slider->setValue(settings::SettingsValue(snap.read(row.fields.front())).toInt());
            }
            break;
        case Binding::Colour:
            if (auto* picker = controlOf<ui::ColourPicker>(w, first.name))
                picker->setColorRef(static_cast<unsigned>(
                    settings::SettingsValue(snap.read(row.fields.front())).toInt()));
            break;
        case Binding::EditBox:
            setTextQuietly(controlOf<QLineEdit>(w, first.name),
                           QString::fromStdString(snap.read(row.fields.front())));
            break;
        case Binding::HotkeyBox:
            if (auto* box = controlOf<QLineEdit>(w, first.name)) {
                auto* holder = captureOf(box);
                if (!holder) holder = new CaptureHolder(box, c, row.fields);
                holder->capture.fill(snap.read(row.fields.front()));
            }
            break;
        case Binding::FileButton:
        case Binding::FolderButton:
        case Binding::FixedKey:
            break;
        }
        // Rules that depend on the stored choice.
        if (row.rule != OptionRule::None && row.rule != OptionRule::RendererHint &&
            row.rule != OptionRule::ListOpacity) {
            int chosen = -1;
            for (std::size_t i = 0; i < row.fields.size() && chosen < 0; ++i)
                if (snap.read(row.fields[i]) == "1") chosen = static_cast<int>(i);
            applyChoiceState(w, row, chosen);
        }
    }
}

void addOptionHandlers(ui::HandlerTable& handlers, const SharedContext& context) {
    auto rowOf = [](UiEvent& e) {
        return ui::findOptionRow(e.window->role().toStdString(), e.control.toStdString());
    };
    handlers.add("storeOption", [context, rowOf](UiEvent& e) {
        const OptionRow* row = rowOf(e);
        if (!row || !context->store()) return;
        switch (row->binding) {
        case Binding::RadioGroup:
        case Binding::ExclusiveChecks:
        case Binding::SingleCheck:
            chooseOption(*context, e.window, *row, e);
            break;
        case Binding::NamedList:
        case Binding::NumberList:
            chooseListItem(*context, e.window, *row, e);
            break;
        case Binding::Slider:
            moveSlider(*context, e.window, *row, e);
            break;
        case Binding::Colour:
            chooseColour(*context, e.window, *row, e);
            break;
        case Binding::EditBox:
            editText(*context, *row, e);
            break;
        default:
            break;
        }
    });
    handlers.add("checkListText", [rowOf](UiEvent& e) {
        const OptionRow* row = rowOf(e);
        auto* combo = qobject_cast<QComboBox*>(e.source);
        if (!row || !combo || e.text.isEmpty() || listTextAllowed(*row, e.text)) return;
        combo->setEditText(QString());
    });
    handlers.add("browseForOption", [context, rowOf](UiEvent& e) {
        const OptionRow* row = rowOf(e);
        if (!row || !context->store()) return;
        const auto& s = context->services;
        QString chosen;
        if (row->binding == Binding::FileButton) {
            auto* dialog = controlOf<ui::FileDialogBox>(e.window, row->partners[1]);
            if (dialog && s.chooseFile) chosen = s.chooseFile(e.window, *dialog);
        } else if (s.chooseFolder) {
            chosen = s.chooseFolder(e.window, QString::fromUtf8("请选择一个文件夹"));
        }
        // Only a confirmed choice is stored: a cancelled dialog leaves the stored path alone.
        if (chosen.isEmpty()) return;
        context->write(row->fields.front(), chosen.toStdString());
        setTextQuietly(controlOf<QLineEdit>(e.window, row->partners[0]), chosen);
    });
    handlers.add("captureHotkey", [](UiEvent& e) {
        auto* holder = captureOf(qobject_cast<QLineEdit*>(e.source));
        e.refuse = true; // the box shows what the capture makes of the key, never the key itself
        if (!holder) return;
        const int vk = keynames::virtualKeyOfQtKey(e.first, (e.second & Qt::KeypadModifier) != 0);
        holder->capture.keyPressed(vk);
    });
    handlers.add("releaseHotkeyBox", [](UiEvent& e) {
        if (auto* holder = captureOf(qobject_cast<QLineEdit*>(e.source)))
            holder->capture.focusLost();
    });
}

} // namespace qinglan::settingswindow
