// Running programs from a Toolhelp snapshot of the processes (heaps, modules and threads are not
// needed for their names and cost time to collect).
#include "platform/ProcessList.h"
#include "platform/windows/WideText.h"

#include <windows.h>

#include <tlhelp32.h>

namespace qinglan::platform {

namespace {

class ToolhelpProcessList final : public ProcessList {
public:
    std::vector<std::string> executableNames() const override {
        std::vector<std::string> names;
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return names;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more;
             more = Process32NextW(snapshot, &entry))
            names.push_back(utf8FromWide(entry.szExeFile));
        CloseHandle(snapshot);
        return names;
    }
};

} // namespace

const ProcessList& systemProcessList() {
    static const ToolhelpProcessList list;
    return list;
}

bool isProcessRunning(const ProcessList& processes, std::string_view name, bool caseSensitive) {
    auto fold = [caseSensitive](std::string_view text) {
        return caseSensitive ? wideFromUtf8(text) : lowerCase(wideFromUtf8(text));
    };
    const std::wstring wanted = fold(name);
    // A program named without an extension runs as its ".exe", as the system starts it.
    const bool bare = name.find('.') == std::string_view::npos;
    const std::wstring withExe = wanted + L".exe";
    for (const auto& n : processes.executableNames()) {
        const std::wstring have = fold(n);
        if (have == wanted || (bare && have == withExe)) return true;
    }
    return false;
}

bool isProcessRunning(std::string_view name, bool caseSensitive) {
    return isProcessRunning(systemProcessList(), name, caseSensitive);
}

} // namespace qinglan::platform
