// System-wide hotkeys with RegisterHotKey on a message-only window of the calling thread. The
// presses arrive as WM_HOTKEY in that thread's message queue, so whatever loop pumps it (Qt's
// event loop on Windows) delivers them. The settings file's modifier numbers are not Windows'
// (MOD_ALT is 1, MOD_CONTROL 2, MOD_SHIFT 4) and are translated here. Each registration gets a
// Windows id of its own, so any caller id works and one caller id may name several keys.
#include "platform/HotkeyRegistrar.h"

#include <keynames/KeyNames.h>

#include <windows.h>

#include <vector>

namespace qinglan::platform {

namespace {

const wchar_t* const kWindowClass = L"QinglanHotkeys";

class WindowsHotkeyRegistrar final : public HotkeyRegistrar {
public:
    WindowsHotkeyRegistrar() {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = &WindowsHotkeyRegistrar::windowProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = kWindowClass;
        RegisterClassExW(&cls); // fails harmlessly when a registrar registered it before
        window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  cls.hInstance, nullptr);
        if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }

    ~WindowsHotkeyRegistrar() override {
        unregisterAll();
        if (window_) DestroyWindow(window_);
    }

    WindowsHotkeyRegistrar(const WindowsHotkeyRegistrar&) = delete;
    WindowsHotkeyRegistrar& operator=(const WindowsHotkeyRegistrar&) = delete;

    bool registerHotkey(int id, int modifiers, int virtualKey) override {
        const keynames::KeyInfo* key = keynames::findByVirtualKey(virtualKey);
        if (!window_ || !key || key->modifier) return false;
        const UINT mods = toWindows(modifiers);
        for (const auto& r : registered_)
            if (r.modifiers == mods && r.virtualKey == virtualKey) return false;
        const int native = nextNativeId();
        if (native < 0) return false;
        // Refused when another program (or this one) holds the combination already.
        if (!RegisterHotKey(window_, native, mods, static_cast<UINT>(virtualKey))) return false;
        registered_.push_back({id, native, mods, virtualKey});
        return true;
    }

    void unregisterAll() override {
        for (const auto& r : registered_)
            UnregisterHotKey(window_, r.native);
        registered_.clear();
    }

    void setPressCallback(std::function<void(int id)> pressed) override {
        pressed_ = std::move(pressed);
    }

private:
    struct Registration {
        int id;
        int native;
        UINT modifiers;
        int virtualKey;
    };

    static UINT toWindows(int modifiers) {
        UINT mods = 0;
        if (modifiers & kHotkeyCtrl) mods |= MOD_CONTROL;
        if (modifiers & kHotkeyShift) mods |= MOD_SHIFT;
        if (modifiers & kHotkeyAlt) mods |= MOD_ALT;
        return mods;
    }

    // The lowest free id of the range RegisterHotKey leaves to programs (0 to 0xBFFF).
    int nextNativeId() const {
        for (int candidate = 1; candidate <= 0xBFFF; ++candidate) {
            bool used = false;
            for (const auto& r : registered_)
                used = used || r.native == candidate;
            if (!used) return candidate;
        }
        return -1;
    }

    void pressed(int native) {
        for (const auto& r : registered_)
            if (r.native == native) {
                if (pressed_) pressed_(r.id);
                return;
            }
    }

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_HOTKEY) {
            if (auto* self = reinterpret_cast<WindowsHotkeyRegistrar*>(
                    GetWindowLongPtrW(window, GWLP_USERDATA)))
                self->pressed(static_cast<int>(wParam));
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    std::vector<Registration> registered_;
    std::function<void(int)> pressed_;
};

} // namespace

std::unique_ptr<HotkeyRegistrar> makeHotkeyRegistrar() {
    return std::make_unique<WindowsHotkeyRegistrar>();
}

} // namespace qinglan::platform
