// The nine hotkeys of the main window: registered while it is the active window, released when
// another window (the player's own included) becomes active, and run from the hidden label that
// receives each press; and the screenshot action, which the hotkey shares with the menu item.
#include "app/HotkeyWiring.h"
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <hotkeys/HotkeyBinder.h>
#include <playback/Screenshot.h>
#include <settings/SettingsRecord.h>
#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>

#include <QCoreApplication>
#include <QEvent>

#include <memory>
#include <string>

namespace qinglan::app {

namespace {

using hotkeys::HotkeyAction;
using ui::UiEvent;

HotkeyRegistrarFactory& registrarFactory() {
    static HotkeyRegistrarFactory factory;
    return factory;
}

std::unique_ptr<platform::HotkeyRegistrar> makeRegistrar() {
    const auto& factory = registrarFactory();
    return factory ? factory() : platform::makeHotkeyRegistrar();
}

// Lives as long as the main window object. The activation events are watched application-wide
// because the window itself is built after the wiring; only two rare event types are looked at.
class HotkeyService final : public QObject {
public:
    explicit HotkeyService(MainWindow& w)
        : QObject(&w), w_(w), registrar_(makeRegistrar()), binder_(*registrar_),
          screenshot_(w.engine(), screenshotHooks(w), this) {
        // A press is posted to the hidden label, whose feedback runs dispatchHotkey.
        registrar_->setPressCallback([this](int id) {
            if (auto* label = ui::find<ui::ClickableLabel>(w_.window(), ui::ids::HotkeyLabel))
                label->postFeedback(id, 0);
        });
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~HotkeyService() override { binder_.deactivate(); }

    void dispatch(int id) {
        const auto action = binder_.actionOf(id);
        if (!action) return;
        auto& playback = w_.playback();
        switch (*action) {
        case HotkeyAction::VolumeUp:
            playback.stepVolume(true);
            break;
        case HotkeyAction::VolumeDown:
            playback.stepVolume(false);
            break;
        case HotkeyAction::LeaveFullScreen:
            w_.leaveFullScreen();
            break;
        case HotkeyAction::PlayPause:
            playback.clickToggle();
            break;
        case HotkeyAction::Previous:
            playback.previous();
            break;
        case HotkeyAction::Next:
            playback.next();
            break;
        case HotkeyAction::Screenshot:
            // Also while a song plays, when the menu item is disabled.
            screenshot_.take();
            break;
        case HotkeyAction::SeekBack:
            playback.seekRelative(-hotkeys::kHotkeySeekMs);
            break;
        case HotkeyAction::SeekForward:
            playback.seekRelative(hotkeys::kHotkeySeekMs);
            break;
        }
    }

    playback::Screenshot& screenshot() { return screenshot_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type != QEvent::WindowActivate && type != QEvent::WindowDeactivate) return false;
        if (!w_.window() || watched != w_.window()) return false;
        if (type == QEvent::WindowActivate)
            binder_.activate([](int field) { return processState().record.integer(field); });
        else
            binder_.deactivate();
        return false;
    }

private:
    static playback::Screenshot::Hooks screenshotHooks(MainWindow& w) {
        playback::Screenshot::Hooks hooks;
        hooks.setting = [](int field) {
            auto& state = processState();
            return settings::currentValue(state.record, state.store.get(), field).toText();
        };
        hooks.sidePanelCheck = [&w] { w.sidePanelCheck(); };
        // The screenshot's own hide after its second covers only its own message.
        auto shown = std::make_shared<std::string>();
        hooks.showOnScreenText = [&w, shown](const std::string& text) {
            *shown = text;
            w.playback().showOnScreenText(text);
        };
        hooks.hideOnScreenText = [&w, shown] { w.playback().hideOnScreenText(*shown); };
        return hooks;
    }

    MainWindow& w_;
    std::unique_ptr<platform::HotkeyRegistrar> registrar_;
    hotkeys::HotkeyBinder binder_;
    playback::Screenshot screenshot_;
};

} // namespace

void setHotkeyRegistrarFactory(HotkeyRegistrarFactory factory) {
    registrarFactory() = std::move(factory);
}

void wireHotkeys(MainWindow& w, ui::HandlerTable& h) {
    auto* service = new HotkeyService(w);
    h.add("dispatchHotkey", [service](UiEvent& e) { service->dispatch(e.first); });
    h.add("TakeScreenshot", [service](UiEvent&) { service->screenshot().take(); });
}

} // namespace qinglan::app
