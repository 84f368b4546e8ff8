#include "app/OpenSettings.h"

#include "app/ProcessState.h"

#include <settings/StoreLocation.h>

#include <filesystem>

namespace qinglan::app {

std::vector<std::string> openSettings(const settings::Rect& workArea) {
    auto& state = processState();
    const auto folder = settings::dataDirectory(settings::programDirectory());
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    state.store = std::make_unique<settings::SettingsStore>(folder, workArea);
    if (auto opened = state.prefetch.takeSettings(folder)) state.store->adopt(std::move(*opened));
    std::vector<std::string> notices;
    const auto status = state.record.load(*state.store);
    if (!status.ok()) {
        // The notice promises that this run leaves the file alone: without this, the next
        // write would open it again and could create it or set it aside.
        state.store->keepClosedForThisRun(status);
        notices.push_back("设置文件无法打开，本次运行不读取也不保存设置：" + status.message());
    }
    for (auto& n : state.store->takeNotices())
        notices.push_back(std::move(n));
    return notices;
}

} // namespace qinglan::app
