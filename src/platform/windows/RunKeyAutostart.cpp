// Start with Windows: the value "我的启动项" of the current user's Run key, holding the program
// path. A path with a blank is quoted, because Windows splits an unquoted Run command at the
// first blank. The name is generic and another program may use it too, so the value is changed
// or deleted only while it starts this program: it holds this program's path (quoted or not)
// or the text the player wrote last, which is kept in the player's own key Software\Qinglan.
#include "platform/Autostart.h"
#include "platform/windows/Registry.h"

#include <windows.h>

namespace qinglan::platform {

namespace {

const wchar_t* const kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const kValueName = L"我的启动项";
const wchar_t* const kOwnKey = L"Software\\Qinglan";
const wchar_t* const kWrittenName = L"Autostart";

std::wstring commandOf(const std::wstring& program) {
    return program.find(L' ') == std::wstring::npos ? program : L"\"" + program + L"\"";
}

class RunKeyAutostart final : public Autostart {
public:
    bool apply(bool on, const std::filesystem::path& program) override {
        const std::wstring path = std::filesystem::path(program).make_preferred().wstring();
        const std::wstring command = commandOf(path);
        const auto run = registry::create(HKEY_CURRENT_USER, kRunKey);
        if (!run) return false;
        const auto own = registry::create(HKEY_CURRENT_USER, kOwnKey);
        const auto current = registry::readText(run.get(), kValueName);
        const auto written = own ? registry::readText(own.get(), kWrittenName) : std::nullopt;
        const bool ours =
            !current || current == path || current == L"\"" + path + L"\"" || current == written;
        if (!ours) return !on; // another program's value of the same name
        if (!on) {
            if (!registry::deleteValue(run.get(), kValueName)) return false;
            if (own) registry::deleteValue(own.get(), kWrittenName);
            return true;
        }
        // Kept first: a value written without the note could not be told from a stranger's.
        return own && registry::writeText(own.get(), kWrittenName, command) &&
               registry::writeText(run.get(), kValueName, command);
    }
};

} // namespace

std::unique_ptr<Autostart> makeAutostart() {
    return std::make_unique<RunKeyAutostart>();
}

} // namespace qinglan::platform
