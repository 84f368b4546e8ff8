// The transcode window: its opening, "开始转换", the prompt for a missing name, and the return
// of the engine to play mode when the window goes.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/Engine.h>
#include <playback/Conversion.h>
#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>
#include <ui/WindowFactory.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qinglan::app {
namespace {

using ui::UiEvent;

void askForVideoName(MainWindow& w) {
    auto* prompt = w.ownedWindows().reopen("PromptWindow");
    if (!prompt) return;
    prompt->setWindowTitle(QString::fromUtf8("错误提示"));
    auto& message = ui::control<QLabel>(prompt, u"标签1");
    message.setText(QString::fromUtf8("请输入视频名称！"));
    message.resize(90, message.height());
    auto& ok = ui::control<QPushButton>(prompt, u"按钮1");
    ok.move(70, ok.y());
    ui::control<QPushButton>(prompt, u"按钮2").hide();
    if (auto* box = ui::find<QCheckBox>(prompt, u"选择框1")) box->hide();
    ui::setDesignedSize(prompt, {170, prompt->design().size.height});
    prompt->setProperty("promptMode", kTranscodeNamePromptMode);
}

} // namespace

void wireTranscode(MainWindow& w, ui::HandlerTable& h) {
    h.add("openTranscodeWindow", [&w](UiEvent&) {
        w.sidePanelCheck();
        w.ownedWindows().open("TranscodeWindow");
    });
    h.add("setUpTranscodeWindow", [](UiEvent&) {});
    h.add("StartConversion", [&w](UiEvent& e) {
        const auto text = [&](const char16_t* box) {
            return ui::control<QLineEdit>(e.window, box).text().toStdString();
        };
        const auto sends =
            playback::conversionSends([](int field) { return processState().record.text(field); },
                                      {text(u"编辑框1"), text(u"编辑框2"), text(u"编辑框3")});
        if (sends.askForName) {
            askForVideoName(w);
            return;
        }
        for (const auto& [id, value] : sends.values)
            w.engine().APlayer_SetConfigA(id, value);
        w.playback().cutPointsSentForNextOpen();
    });
    // Also when the main window goes with this window open: by then the engine may be gone.
    h.add("returnEngineToPlayMode", [&w](UiEvent&) {
        if (auto* engine = w.engineIfPresent())
            engine->APlayer_SetConfigA(aplayer::cfg::ProcessingMode, "1");
    });
}

} // namespace qinglan::app
