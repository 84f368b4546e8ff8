// Single-instance hand-off through windows, the way other Windows programs find the player: the
// primary owns a hidden top-level window of the identity's class titled "青岚播放器" (its own
// window, because Qt names the classes of its windows itself), with a child of class "Edit"
// and empty text. A second start finds that window and sends the path to the child with
// WM_SETTEXT.
//
// The text is sent wide, so every Unicode path arrives whole; a sender that sends it narrow
// (in the ANSI code page, as older senders do) still reaches us, the system widening it on the
// way. The child keeps its text empty, so that the next sender finds it by its empty text too.
// Received texts are posted to the hidden window and handed to the receiver from the thread's
// message loop (Qt's event loop pumps it on Windows), so a sender never waits for the open.
//
// Racing starts: a named mutex in the session's namespace makes "look for the window, else
// create it" one step, so exactly one start becomes the primary and every other one finds its
// window.
#include "platform/InstanceChannel.h"
#include "platform/windows/WideText.h"

#include <windows.h>

#include <deque>

namespace qinglan::platform {

namespace {

const wchar_t* const kTitle = L"青岚播放器";
constexpr UINT kDeliver = WM_APP + 1;
// Bounds: how long a start waits for a racing start to finish its claim, and for the primary
// to take a text.
constexpr DWORD kClaimWaitMs = 10000;
constexpr UINT kSendTimeoutMs = 5000;

class WindowInstanceChannel final : public InstanceChannel {
public:
    explicit WindowInstanceChannel(const std::string& identity)
        : className_(wideFromUtf8(identity)) {}

    ~WindowInstanceChannel() override {
        if (window_) DestroyWindow(window_); // the child goes with it
        if (window_) UnregisterClassW(className_.c_str(), GetModuleHandleW(nullptr));
    }

    WindowInstanceChannel(const WindowInstanceChannel&) = delete;
    WindowInstanceChannel& operator=(const WindowInstanceChannel&) = delete;

    Role claim() override {
        const std::wstring mutexName = L"Local\\" + className_ + L"-claim";
        const HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
        const DWORD wait = mutex ? WaitForSingleObject(mutex, kClaimWaitMs) : WAIT_FAILED;
        // An abandoned claim (its process died) is ours now; without the mutex the claim goes
        // on unprotected, which only loses the protection against a race.
        const bool locked = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        Role role = Role::Failed;
        if (FindWindowW(className_.c_str(), kTitle)) {
            role = Role::Secondary;
        } else if (createWindows()) {
            role = Role::Primary;
        }
        if (locked) ReleaseMutex(mutex);
        if (mutex) CloseHandle(mutex);
        return role;
    }

    bool send(const std::string& utf8) override {
        if (utf8.size() > kMaxHandOffBytes || !isValidUtf8(utf8)) return false;
        const HWND primary = FindWindowW(className_.c_str(), kTitle);
        const HWND edit = primary ? FindWindowExW(primary, nullptr, L"Edit", L"") : nullptr;
        if (!edit) return false;
        const std::wstring text = wideFromUtf8(utf8);
        DWORD_PTR accepted = FALSE;
        const LRESULT sent =
            SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                SMTO_ABORTIFHUNG, kSendTimeoutMs, &accepted);
        return sent != 0 && accepted == TRUE;
    }

    void startReceiving(std::function<void(const std::string&)> receiver) override {
        if (!window_) return;
        receiver_ = std::move(receiver);
        // Texts that came during the start-up were kept for this moment.
        if (!pending_.empty()) PostMessageW(window_, kDeliver, 0, 0);
    }

private:
    bool createWindows() {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        cls.lpfnWndProc = &WindowInstanceChannel::windowProc;
        cls.hInstance = instance;
        cls.lpszClassName = className_.c_str();
        if (!RegisterClassExW(&cls)) return false;
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, className_.c_str(), kTitle, WS_POPUP, 0, 0, 0,
                                  0, nullptr, nullptr, instance, nullptr);
        if (!window_) {
            UnregisterClassW(className_.c_str(), instance);
            return false;
        }
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        edit_ = CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 0, 0, window_, nullptr, instance,
                                nullptr);
        if (!edit_) return false;
        SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        editProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowInstanceChannel::editProc)));
        return editProc_ != nullptr;
    }

    // A text set on the child: taken, never shown. True when it was accepted.
    bool take(const wchar_t* text) {
        if (!text) return false;
        const std::wstring wide(text);
        const std::string utf8 = utf8FromWide(wide);
        // Lone surrogates do not survive the conversion: such a text is refused, not changed.
        if (utf8.size() > kMaxHandOffBytes || wideFromUtf8(utf8) != wide) return false;
        pending_.push_back(utf8);
        if (receiver_) PostMessageW(window_, kDeliver, 0, 0);
        return true;
    }

    void deliver() {
        while (receiver_ && !pending_.empty()) {
            const std::string text = std::move(pending_.front());
            pending_.pop_front();
            receiver_(text);
        }
    }

    static WindowInstanceChannel* of(HWND window) {
        return reinterpret_cast<WindowInstanceChannel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kDeliver) {
            if (auto* self = of(window)) self->deliver();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = of(window);
        if (message == WM_SETTEXT)
            return self && self->take(reinterpret_cast<const wchar_t*>(lParam)) ? TRUE : FALSE;
        return self ? CallWindowProcW(self->editProc_, window, message, wParam, lParam)
                    : DefWindowProcW(window, message, wParam, lParam);
    }

    std::wstring className_;
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr;
    std::deque<std::string> pending_;
    std::function<void(const std::string&)> receiver_;
};

} // namespace

std::unique_ptr<InstanceChannel> makeInstanceChannel(const std::string& identity) {
    return std::make_unique<WindowInstanceChannel>(identity);
}

} // namespace qinglan::platform
