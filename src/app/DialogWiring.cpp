// The skip window and the shared confirmation prompt.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/VideoListController.h"
#include "app/Wiring.h"

#include <aplayer/Engine.h>
#include <playback/PlaybackRules.h>
#include <settings/SettingsFields.h>
#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>
#include <ui/WindowFactory.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace qinglan::app {
namespace {

using ui::UiEvent;
namespace field = settings::field;

// Filling the boxes from the file is not typing: nothing is written back meanwhile.
bool filling(const UiEvent& e) {
    return e.window->property("filling").toBool();
}

void wireSkipWindow(MainWindow& w, ui::HandlerTable& h) {
    h.add("openSkipIntroWindow", [&w](UiEvent&) {
        w.sidePanelCheck();
        w.ownedWindows().open(ui::ids::SkipIntroWindow);
    });
    h.add("setUpSkipIntroWindow", [](UiEvent& e) {
        auto& state = processState();
        if (!state.store) return;
        const auto text = [&](int number) {
            auto v = state.store->read(number);
            return v.ok() ? QString::fromStdString(v.value().toText()) : QString();
        };
        e.window->setProperty("filling", true);
        ui::control<QRadioButton>(e.window, ui::ids::SkipOnRadio)
            .setChecked(text(field::SkipOn) == u"1");
        ui::control<QRadioButton>(e.window, ui::ids::SkipOffRadio)
            .setChecked(text(field::SkipOff) == u"1");
        ui::control<QLineEdit>(e.window, ui::ids::SkipIntroBox).setText(text(field::IntroSeconds));
        ui::control<QLineEdit>(e.window, ui::ids::SkipOutroBox).setText(text(field::OutroSeconds));
        e.window->setProperty("filling", false);
    });
    h.add("storeSkipSwitch", [](UiEvent& e) {
        auto& state = processState();
        if (!state.store || filling(e)) return;
        const bool on = ui::control<QRadioButton>(e.window, ui::ids::SkipOnRadio).isChecked();
        const bool off = ui::control<QRadioButton>(e.window, ui::ids::SkipOffRadio).isChecked();
        state.store->writeFields(
            {{field::SkipOn, on ? "1" : "0"}, {field::SkipOff, off ? "1" : "0"}});
    });
    h.add("storeIntro", [](UiEvent& e) {
        auto& state = processState();
        if (!state.store || filling(e)) return;
        state.store->write(field::IntroSeconds, e.text.toStdString());
    });
    h.add("storeOutro", [&w](UiEvent& e) {
        auto& state = processState();
        if (!state.store || filling(e)) return;
        const std::string outro = e.text.toStdString();
        // Field 207 keeps the outro's start in the media open now, as stored files expect;
        // playback itself measures the outro back from each media's own end.
        const long long end =
            w.engine().APlayer_GetDuration() - playback::leadingNumber(outro) * 1000;
        state.store->writeFields(
            {{field::OutroSeconds, outro}, {field::OutroStartMs, std::to_string(end)}});
    });
}

// The prompt's window property that holds its mode; read and written only here.
constexpr const char* kModeProperty = "promptMode";

void deleteTheEntry(MainWindow& w, QWidget& prompt) {
    if (auto* list = VideoListController::of(w)) {
        const auto* box = ui::find<QCheckBox>(&prompt, ui::ids::PromptDeleteFile);
        if (const auto path = VideoListController::deleteTarget(&prompt))
            list->confirmDelete(*path, box && box->isChecked());
    }
    prompt.close();
}

void endForRestart(MainWindow& w, QWidget& prompt) {
    prompt.close();
    w.shutdown(); // the close routine; the player does not start itself again
}

void justClose(MainWindow&, QWidget& prompt) {
    prompt.close();
}

// The prompt's uses: how each sets up the one designed prompt and what its "确认" does.
struct PromptUse {
    PromptMode mode;
    const char* title;
    const char* message;
    int messageWidth;
    int confirmLeft; // "确认"
    int cancelLeft;  // "取消"; 0: hidden, "确认" is the only answer
    bool fileBox;    // " 删除包含文件": whether the file goes too
    int width;       // outside, with the design's frame allowance
    void (*confirm)(MainWindow&, QWidget& prompt);
    bool cancelChecksSidePanel; // the list's delete gives the side panel its turn back
};

const PromptUse kPromptUses[] = {
    {PromptMode::DeleteEntry, "删除文件", "是否删除文件，删除后无法恢复！", 184, 136, 232, true,
     335, deleteTheEntry, true},
    {PromptMode::Restart, "重启提示", "检测到新的文件配置，是否重启软件！", 208, 80, 176, false,
     277, endForRestart, false},
    {PromptMode::TranscodeName, "错误提示", "请输入视频名称！", 90, 70, 0, false, 170, justClose,
     false},
};

const PromptUse* useOf(std::optional<PromptMode> mode) {
    for (const auto& use : kPromptUses)
        if (mode == use.mode) return &use;
    return nullptr;
}

// The one prompt serves several askers; its mode says whose answer it is.
void wirePrompt(MainWindow& w, ui::HandlerTable& h) {
    h.add("confirmPrompt", [&w](UiEvent& e) {
        if (const auto* use = useOf(promptMode(e.window))) use->confirm(w, *e.window);
    });
    h.add("cancelPrompt", [&w](UiEvent& e) {
        const auto* use = useOf(promptMode(e.window));
        e.window->close();
        if (use && use->cancelChecksSidePanel) w.sidePanelCheck();
    });
}

} // namespace

QWidget* openPrompt(MainWindow& main, PromptMode mode) {
    const auto* use = useOf(mode);
    auto* prompt = main.ownedWindows().reopen(ui::ids::PromptWindow);
    if (!prompt || !use) return prompt;
    prompt->setWindowTitle(QString::fromUtf8(use->title));
    auto& message = ui::control<QLabel>(prompt, ui::ids::PromptMessage);
    message.setText(QString::fromUtf8(use->message));
    message.resize(use->messageWidth, message.height());
    auto& confirm = ui::control<QPushButton>(prompt, ui::ids::PromptConfirm);
    confirm.move(use->confirmLeft, confirm.y());
    auto& cancel = ui::control<QPushButton>(prompt, ui::ids::PromptCancel);
    if (use->cancelLeft > 0)
        cancel.move(use->cancelLeft, cancel.y());
    else
        cancel.hide();
    if (auto* box = ui::find<QCheckBox>(prompt, ui::ids::PromptDeleteFile))
        box->setVisible(use->fileBox);
    ui::setDesignedSize(prompt, {use->width, prompt->design().size.height});
    prompt->setProperty(kModeProperty, static_cast<int>(mode));
    return prompt;
}

std::optional<PromptMode> promptMode(const QWidget* prompt) {
    const QVariant mode = prompt ? prompt->property(kModeProperty) : QVariant();
    if (!mode.isValid()) return std::nullopt;
    for (const auto& use : kPromptUses)
        if (static_cast<int>(use.mode) == mode.toInt()) return use.mode;
    return std::nullopt;
}

void wireDialogs(MainWindow& w, ui::HandlerTable& h) {
    wireSkipWindow(w, h);
    wirePrompt(w, h);
}

} // namespace qinglan::app
