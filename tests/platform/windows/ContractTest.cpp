// The hotkey and association contracts against the Windows backends: RegisterHotKey pressed with
// SendInput and held elsewhere by the probe, and the current user's classes in the registry.
#include "../contract/AssociationContract.h"
#include "../contract/HotkeyContract.h"

#include "Processes.h"
#include "Registry.h"

#include <platform/windows/WideText.h>

#include <memory>
#include <vector>

using namespace qinglan;
using test::AssociationContract;
using test::AssociationDesk;
using test::AssociationDeskMaker;
using test::HotkeyContract;
using test::HotkeyDesk;
using test::HotkeyDeskMaker;

namespace {

UINT windowsModifiers(int modifiers) {
    UINT mods = 0;
    if (modifiers & platform::kHotkeyCtrl) mods |= MOD_CONTROL;
    if (modifiers & platform::kHotkeyShift) mods |= MOD_SHIFT;
    if (modifiers & platform::kHotkeyAlt) mods |= MOD_ALT;
    return mods;
}

class WindowsHotkeyDesk final : public HotkeyDesk {
public:
    platform::HotkeyRegistrar& registrar() override { return *registrar_; }
    void press(int modifiers, int virtualKey) override {
        std::vector<WORD> keys;
        if (modifiers & platform::kHotkeyCtrl) keys.push_back(VK_CONTROL);
        if (modifiers & platform::kHotkeyShift) keys.push_back(VK_SHIFT);
        if (modifiers & platform::kHotkeyAlt) keys.push_back(VK_MENU);
        keys.push_back(static_cast<WORD>(virtualKey));
        std::vector<INPUT> input;
        for (WORD k : keys)
            input.push_back(key(k, 0));
        for (auto it = keys.rbegin(); it != keys.rend(); ++it)
            input.push_back(key(*it, KEYEVENTF_KEYUP));
        SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    }
    bool holdElsewhere(int modifiers, int virtualKey) override {
        const std::wstring event = L"Local\\qinglan-contract-held-" +
                                   std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(holders_.size());
        const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
        holders_.push_back(std::make_unique<test::Probe>(
            std::vector<std::wstring>{L"hold-hotkey", std::to_wstring(windowsModifiers(modifiers)),
                                      std::to_wstring(virtualKey), event, L"60000"}));
        const bool held = WaitForSingleObject(ready, 20000) == WAIT_OBJECT_0;
        CloseHandle(ready);
        return held;
    }
    bool pumpUntil(const std::function<bool()>& done, int ms) override {
        return test::pumpUntil(done, ms);
    }

private:
    static INPUT key(WORD virtualKey, DWORD flags) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = virtualKey;
        i.ki.dwFlags = flags;
        return i;
    }

    std::vector<std::unique_ptr<test::Probe>> holders_; // other programs holding hotkeys
    std::unique_ptr<platform::HotkeyRegistrar> registrar_ = platform::makeHotkeyRegistrar();
};

INSTANTIATE_TEST_SUITE_P(Windows, HotkeyContract,
                         ::testing::Values(HotkeyDeskMaker{
                             "Windows", [] { return std::make_unique<WindowsHotkeyDesk>(); }}),
                         test::hotkeyDeskName);

const std::wstring kClasses = L"Software\\Classes";

class RegistryAssociationDesk final : public AssociationDesk {
public:
    RegistryAssociationDesk() { clear(); }
    ~RegistryAssociationDesk() override { clear(); }

    platform::FileAssociations& backend() override { return *backend_; }
    platform::AssociatedProgram program() override {
        return {L"C:\\Program Files\\青岚\\qinglan.exe", {}};
    }
    Opener openerOf(const std::string& extension) override {
        const std::wstring e = platform::wideFromUtf8(extension);
        const auto chosen = test::readText(HKEY_CURRENT_USER, kClasses + L"\\." + e);
        if (!chosen || chosen->empty()) return Opener::Nobody;
        return *chosen == L"Qinglan." + e ? Opener::Player : Opener::Other;
    }
    void giveToOther(const std::string& extension) override {
        const std::wstring e = platform::wideFromUtf8(extension);
        test::writeText(HKEY_CURRENT_USER, kClasses + L"\\." + e, nullptr, L"OtherPlayer." + e);
        test::writeText(HKEY_CURRENT_USER,
                        kClasses + L"\\OtherPlayer." + e + L"\\shell\\open\\command", nullptr,
                        L"\"C:\\Other\\other.exe\" \"%1\"");
    }
    bool shareAType(const std::string& a, const std::string& b) override { return a == b; }
    std::string unattainable() override { return {}; } // any extension is a class of its own

private:
    static void clear() {
        for (const wchar_t* e : {L"avi", L"mkv", L"mp4", L"mpeg", L"vob"}) {
            test::removeTree(HKEY_CURRENT_USER, kClasses + L"\\." + e);
            test::removeTree(HKEY_CURRENT_USER, kClasses + L"\\Qinglan." + e);
            test::removeTree(HKEY_CURRENT_USER, kClasses + L"\\OtherPlayer." + e);
        }
        test::removeTree(HKEY_CURRENT_USER, L"Software\\Qinglan");
    }

    std::unique_ptr<platform::FileAssociations> backend_ = platform::makeFileAssociations();
};

INSTANTIATE_TEST_SUITE_P(Windows, AssociationContract,
                         ::testing::Values(AssociationDeskMaker{
                             "Registry",
                             [] { return std::make_unique<RegistryAssociationDesk>(); }}),
                         test::associationDeskName);

} // namespace
