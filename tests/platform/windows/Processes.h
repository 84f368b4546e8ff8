#pragma once
// Starting the probe program beside the tests, and waiting for things with a bound while the
// test thread's messages are pumped (the backends deliver through the thread's message queue).
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace qinglan::test {

// The folder of the running test program.
inline std::wstring programFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

// One argument of a command line, quoted the way the C runtime splits it again.
inline std::wstring quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

// A running probe (qinglan-probe.exe); ended when the object goes if it still runs.
class Probe {
public:
    explicit Probe(const std::vector<std::wstring>& args, const std::wstring& program = {}) {
        const std::wstring exe = program.empty() ? programFolder() + L"qinglan-probe.exe" : program;
        std::wstring line = quoted(exe);
        for (const auto& a : args)
            line += L" " + quoted(a);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info_) != 0;
        if (started_) CloseHandle(info_.hThread);
    }
    ~Probe() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hProcess);
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    bool started() const { return started_; }
    HANDLE handle() const { return info_.hProcess; }
    // The exit code, or -1 when it has not ended within the bound.
    int wait(DWORD ms = 20000) {
        if (!started_ || WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<int>(code);
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION info_{};
};

// Pumps this thread's messages until `done` holds or the bound passes; true when it held.
inline bool pumpUntil(const std::function<bool()>& done, int ms = 20000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

} // namespace qinglan::test
