// The second process of the Windows tests: a second start of the player, a start racing
// another, a sender that follows the older narrow-text hand-off, a program holding a hotkey,
// and a program that only runs for a while.
//   claim IDENTITY OUTFILE COUNT   claim; the primary writes the COUNT texts it receives (one
//                                  a line) to OUTFILE and ends 10, a secondary sends its own
//                                  process id and ends 11 (12 when the send failed)
//   send IDENTITY TEXT             a second start handing TEXT over: 0 delivered, 1 not, 2 it
//                                  became the primary
//   ansi-send IDENTITY TEXT        the narrow hand-off in the ANSI code page: 0 delivered,
//                                  1 not, 3 no window found, 4 TEXT not in the code page
//   hold-hotkey MODS VK EVENT MS   holds a hotkey (Windows' MOD_ numbers), sets the named
//                                  event, lives MS ms: 0, or 1 when refused
//   sleep MS
#include <platform/InstanceChannel.h>
#include <platform/windows/WideText.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

using namespace qinglan::platform;

namespace {

std::string narrow(const std::wstring& wide, bool* lost) {
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0,
                                      nullptr, &usedDefault);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, text.data(), n, nullptr,
                        &usedDefault);
    *lost = usedDefault != FALSE;
    text.resize(text.size() - 1);
    return text;
}

int claim(const std::string& identity, const std::wstring& out, int count) {
    auto channel = makeInstanceChannel(identity);
    switch (channel->claim()) {
    case InstanceChannel::Role::Secondary:
        return channel->send(std::to_string(GetCurrentProcessId())) ? 11 : 12;
    case InstanceChannel::Role::Failed:
        return 13;
    case InstanceChannel::Role::Primary:
        break;
    }
    std::vector<std::string> texts;
    channel->startReceiving([&texts](const std::string& t) { texts.push_back(t); });
    const DWORD end = GetTickCount() + 30000;
    while (static_cast<int>(texts.size()) < count && GetTickCount() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    std::ofstream file(out.c_str(), std::ios::binary);
    for (const auto& t : texts)
        file << t << "\n";
    return 10;
}

int ansiSend(const std::wstring& identity, const std::wstring& text) {
    bool lost = false;
    const std::string title = narrow(L"青岚播放器", &lost);
    const std::string narrowText = narrow(text, &lost);
    if (lost) return 4;
    const HWND main = FindWindowA(narrow(identity, &lost).c_str(), title.c_str());
    const HWND edit = main ? FindWindowExA(main, nullptr, "Edit", "") : nullptr;
    if (!edit) return 3;
    return SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(narrowText.c_str())) == TRUE
               ? 0
               : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    if (args.size() == 4 && args[0] == L"claim")
        return claim(utf8FromWide(args[1]), args[2], std::stoi(args[3]));
    if (args.size() == 3 && args[0] == L"send") {
        auto channel = makeInstanceChannel(utf8FromWide(args[1]));
        if (channel->claim() != InstanceChannel::Role::Secondary) return 2;
        return channel->send(utf8FromWide(args[2])) ? 0 : 1;
    }
    if (args.size() == 3 && args[0] == L"ansi-send") return ansiSend(args[1], args[2]);
    if (args.size() == 5 && args[0] == L"hold-hotkey") {
        if (!RegisterHotKey(nullptr, 1, static_cast<UINT>(std::stoi(args[1])),
                            static_cast<UINT>(std::stoi(args[2]))))
            return 1;
        if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, args[3].c_str())) {
            SetEvent(ready);
            CloseHandle(ready);
        }
        Sleep(static_cast<DWORD>(std::stoi(args[4])));
        return 0;
    }
    if (args.size() == 2 && args[0] == L"sleep") {
        Sleep(static_cast<DWORD>(std::stoi(args[1])));
        return 0;
    }
    return 64;
}
