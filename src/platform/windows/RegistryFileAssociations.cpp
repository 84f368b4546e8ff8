// File associations in the current user's classes (HKEY_CURRENT_USER\Software\Classes), which
// Windows merges into HKEY_CLASSES_ROOT: writing HKEY_CLASSES_ROOT itself needs administrator
// rights, so an ordinary user could never associate.
//
// Per extension e, in this order: ".e" -> the player's own class "Qinglan.e" (never a class
// another program or Windows shares, such as Windows' own "avifile"); the class's name e; its
// icon, the executable's first; its open command, the program path quoted so that a path with
// blanks stays one word. Taking the player out removes its class and, where ".e" still names
// it, puts back the default the player replaced. That earlier default is kept, from the moment
// the player replaces it, in the player's own key Software\Qinglan\FileAssociations (a value
// named ".e"). The user's own choice in Explorer (Explorer\FileExts) and other programs' keys
// are never touched.
#include "platform/FileAssociations.h"
#include "platform/windows/Registry.h"
#include "platform/windows/WideText.h"

#include <shlobj.h>
#include <windows.h>

namespace qinglan::platform {

namespace {

const wchar_t* const kClasses = L"Software\\Classes\\";
const wchar_t* const kEarlierDefaults = L"Software\\Qinglan\\FileAssociations";

// How the earlier state of ".e" is kept: its default text as REG_SZ; or, when it had none,
// REG_NONE holding one byte, 1 when the player created the key ".e" itself.
std::wstring classOf(const std::wstring& extension) {
    return L"Qinglan." + extension;
}

class RegistryFileAssociations final : public FileAssociations {
public:
    std::vector<std::string> apply(const AssociatedProgram& program,
                                   std::span<const FileTypeChoice> choices) override {
        const std::wstring executable = program.executable.wstring();
        std::vector<std::string> failed;
        for (const auto& choice : choices) {
            const std::wstring extension = wideFromUtf8(choice.extension);
            const bool ok =
                choice.associate ? associate(extension, executable) : dissociate(extension);
            if (!ok) failed.push_back(choice.extension);
        }
        // Explorer caches associations: one notice for the whole list.
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
        return failed;
    }

private:
    static bool associate(const std::wstring& extension, const std::wstring& executable) {
        const std::wstring dotted = L"." + extension;
        const std::wstring cls = classOf(extension);
        bool created = false;
        const auto ext = registry::create(HKEY_CURRENT_USER, kClasses + dotted, &created);
        if (!ext) return false;
        const auto earlier = registry::readText(ext.get(), nullptr);
        if (earlier != cls && !keepEarlier(dotted, earlier, created)) return false;
        const auto clsKey = registry::create(HKEY_CURRENT_USER, kClasses + cls);
        const auto icon = registry::create(HKEY_CURRENT_USER, kClasses + cls + L"\\DefaultIcon");
        const auto command =
            registry::create(HKEY_CURRENT_USER, kClasses + cls + L"\\shell\\open\\command");
        return registry::writeText(ext.get(), nullptr, cls) && clsKey &&
               registry::writeText(clsKey.get(), nullptr, extension) && icon &&
               registry::writeText(icon.get(), nullptr, executable + L",0") && command &&
               registry::writeText(command.get(), nullptr, L"\"" + executable + L"\" \"%1\"");
    }

    static bool keepEarlier(const std::wstring& dotted, const std::optional<std::wstring>& text,
                            bool created) {
        const auto store = registry::create(HKEY_CURRENT_USER, kEarlierDefaults);
        if (!store) return false;
        if (text)
            return registry::writeValue(store.get(), dotted.c_str(), REG_SZ, text->c_str(),
                                        static_cast<DWORD>((text->size() + 1) * sizeof(wchar_t)));
        const BYTE byte = created ? 1 : 0;
        return registry::writeValue(store.get(), dotted.c_str(), REG_NONE, &byte, 1);
    }

    static bool dissociate(const std::wstring& extension) {
        const std::wstring dotted = L"." + extension;
        const std::wstring cls = classOf(extension);
        auto store = registry::open(HKEY_CURRENT_USER, kEarlierDefaults, KEY_READ | KEY_WRITE);
        const auto earlier = store ? registry::readValue(store.get(), dotted.c_str())
                                   : std::optional<registry::Value>();
        bool ok = true;
        if (auto ext = registry::open(HKEY_CURRENT_USER, kClasses + dotted, KEY_READ | KEY_WRITE);
            ext && registry::readText(ext.get(), nullptr) == cls) {
            ok = restore(ext, dotted, earlier);
        }
        ok = registry::deleteTree(HKEY_CURRENT_USER, kClasses + cls) && ok;
        if (ok && earlier) {
            registry::deleteValue(store.get(), dotted.c_str());
            if (registry::isEmpty(store.get())) {
                store = registry::Key();
                RegDeleteKeyW(HKEY_CURRENT_USER, kEarlierDefaults);
            }
        }
        return ok;
    }

    // Puts back what ".e" held before the player took it over.
    static bool restore(registry::Key& ext, const std::wstring& dotted,
                        const std::optional<registry::Value>& earlier) {
        if (earlier && earlier->type == REG_SZ)
            return registry::writeValue(ext.get(), nullptr, REG_SZ, earlier->data.data(),
                                        static_cast<DWORD>(earlier->data.size()));
        if (!registry::deleteValue(ext.get(), nullptr)) return false;
        const bool createdByUs = earlier && earlier->data.size() == 1 && earlier->data[0] == 1;
        if (createdByUs && registry::isEmpty(ext.get())) {
            ext = registry::Key();
            return RegDeleteKeyW(HKEY_CURRENT_USER, (kClasses + dotted).c_str()) == ERROR_SUCCESS;
        }
        return true;
    }
};

} // namespace

std::unique_ptr<FileAssociations> makeFileAssociations() {
    return std::make_unique<RegistryFileAssociations>();
}

} // namespace qinglan::platform
