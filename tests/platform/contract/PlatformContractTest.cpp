// The hotkey and association contracts against the fakes and the Linux backends: X11 key grabs
// on the private X display this runs on (pressed with xdotool, grabbed by a second X client),
// and the XDG associations on temporary data and config folders (another program's choice set
// with xdg-mime, the desktop's own tool).
#include "AssociationContract.h"
#include "HotkeyContract.h"

#include "support/FileText.h"
#include "support/TempDataDir.h"

#include <keynames/KeyNames.h>
#include <platform/fake/FakeFileAssociations.h>
#include <platform/fake/FakeHotkeyRegistrar.h>
#include <platform/linux/XdgFileAssociations.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <set>
#include <sstream>

using namespace qinglan;
using test::AssociationContract;
using test::AssociationDesk;
using test::AssociationDeskMaker;
using test::HotkeyContract;
using test::HotkeyDesk;
using test::HotkeyDeskMaker;
namespace fs = std::filesystem;

namespace {

bool pumpQtUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

class FakeHotkeyDesk final : public HotkeyDesk {
public:
    platform::HotkeyRegistrar& registrar() override { return fake_; }
    void press(int modifiers, int virtualKey) override { fake_.press(modifiers, virtualKey); }
    bool holdElsewhere(int modifiers, int virtualKey) override {
        fake_.holdElsewhere(modifiers, virtualKey);
        return true;
    }
    bool pumpUntil(const std::function<bool()>& done, int ms) override {
        return pumpQtUntil(done, ms);
    }

private:
    platform::FakeHotkeyRegistrar fake_;
};

// The backend on the display, another X client for the other programs, xdotool for the user.
class X11HotkeyDesk final : public HotkeyDesk {
public:
    X11HotkeyDesk() : other_(xcb_connect(nullptr, nullptr)) {}
    ~X11HotkeyDesk() override { xcb_disconnect(other_); }

    platform::HotkeyRegistrar& registrar() override { return *registrar_; }
    void press(int modifiers, int virtualKey) override {
        QString combination;
        if (modifiers & platform::kHotkeyCtrl) combination += "ctrl+";
        if (modifiers & platform::kHotkeyShift) combination += "shift+";
        if (modifiers & platform::kHotkeyAlt) combination += "alt+";
        combination += XKeysymToString(keynames::findByVirtualKey(virtualKey)->keysym);
        QProcess::execute("xdotool", {"key", combination});
    }
    bool holdElsewhere(int modifiers, int virtualKey) override {
        uint16_t mods = 0;
        if (modifiers & platform::kHotkeyCtrl) mods |= XCB_MOD_MASK_CONTROL;
        if (modifiers & platform::kHotkeyShift) mods |= XCB_MOD_MASK_SHIFT;
        if (modifiers & platform::kHotkeyAlt) mods |= XCB_MOD_MASK_1;
        const xcb_keycode_t code = keycodeOf(keynames::findByVirtualKey(virtualKey)->keysym);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other_)).data->root;
        auto cookie = xcb_grab_key_checked(other_, 1, root, mods, code, XCB_GRAB_MODE_ASYNC,
                                           XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* e = xcb_request_check(other_, cookie)) {
            std::free(e);
            return false;
        }
        return code != 0;
    }
    bool pumpUntil(const std::function<bool()>& done, int ms) override {
        return pumpQtUntil(done, ms);
    }

private:
    xcb_keycode_t keycodeOf(xcb_keysym_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(other_);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto* reply = xcb_get_keyboard_mapping_reply(
            other_, xcb_get_keyboard_mapping(other_, setup->min_keycode, count), nullptr);
        if (!reply) return 0;
        xcb_keycode_t found = 0;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
        for (int k = 0; k < count && !found; ++k)
            for (int s = 0; s < reply->keysyms_per_keycode; ++s)
                if (syms[k * reply->keysyms_per_keycode + s] == keysym)
                    found = static_cast<xcb_keycode_t>(setup->min_keycode + k);
        std::free(reply);
        return found;
    }

    xcb_connection_t* other_;
    std::unique_ptr<platform::HotkeyRegistrar> registrar_ = platform::makeHotkeyRegistrar();
};

INSTANTIATE_TEST_SUITE_P(
    Platform, HotkeyContract,
    ::testing::Values(HotkeyDeskMaker{"Fake", [] { return std::make_unique<FakeHotkeyDesk>(); }},
                      HotkeyDeskMaker{"X11",
                                      []() -> std::unique_ptr<HotkeyDesk> {
                                          if (QGuiApplication::platformName() != "xcb")
                                              return nullptr;
                                          return std::make_unique<X11HotkeyDesk>();
                                      }}),
    test::hotkeyDeskName);

class FakeAssociationDesk final : public AssociationDesk {
public:
    platform::FileAssociations& backend() override { return fake_; }
    platform::AssociatedProgram program() override { return {"/opt/qinglan/qinglan", {}}; }
    Opener openerOf(const std::string& extension) override {
        if (fake_.associated(extension)) return Opener::Player;
        return others_.count(extension) ? Opener::Other : Opener::Nobody;
    }
    // The fake keeps only the player's own state: another program's choice is the desktop's,
    // which shows again whenever the player is not the choice.
    void giveToOther(const std::string& extension) override { others_.insert(extension); }
    bool shareAType(const std::string& a, const std::string& b) override { return a == b; }
    std::string unattainable() override {
        fake_.refuse("flv");
        return "flv";
    }

private:
    platform::FakeFileAssociations fake_;
    std::set<std::string> others_;
};

std::string xdgMime(const QStringList& args) {
    QProcess p;
    p.start("xdg-mime", args);
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed().toStdString();
}

class XdgAssociationDesk final : public AssociationDesk {
public:
    XdgAssociationDesk() {
        test::writeFile(program_, "#!/bin/sh\n");
        fs::permissions(program_, fs::perms::owner_all);
    }

    platform::FileAssociations& backend() override { return backend_; }
    platform::AssociatedProgram program() override { return {program_, {}}; }
    // The first program of the type's list in [Default Applications]: the choice itself, not
    // the program a desktop falls back on where none is chosen (any entry naming the type, the
    // player's own among them).
    Opener openerOf(const std::string& extension) override {
        const std::string key = mimeType(extension).toStdString() + "=";
        std::istringstream list(test::readFile(platform::XdgFileAssociations::mimeAppsListPath()));
        bool inDefaults = false;
        for (std::string line; std::getline(list, line);) {
            if (line.starts_with('[')) inDefaults = line == "[Default Applications]";
            if (!inDefaults || !line.starts_with(key)) continue;
            const std::string first = line.substr(key.size(), line.find(';') - key.size());
            if (first.empty()) return Opener::Nobody;
            return first == platform::kDesktopId ? Opener::Player : Opener::Other;
        }
        return Opener::Nobody;
    }
    void giveToOther(const std::string& extension) override {
        const std::string id = "other-" + extension + ".desktop";
        test::writeFile(dir_.path() / "data" / "applications" / id,
                        "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\n"
                        "MimeType=" +
                            mimeType(extension).toStdString() + ";\n");
        xdgMime({"default", QString::fromStdString(id), mimeType(extension)});
    }
    bool shareAType(const std::string& a, const std::string& b) override {
        return platform::mimeTypeOfExtension(a) == platform::mimeTypeOfExtension(b);
    }
    std::string unattainable() override { return "xyz"; } // no MIME type to name

private:
    static QString mimeType(const std::string& extension) {
        const auto type = platform::mimeTypeOfExtension(extension);
        return QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size()));
    }

    test::TempDataDir dir_;
    fs::path program_ = dir_.path() / "qinglan";
    // The desktop's cache refresh is not part of the contract.
    platform::XdgFileAssociations backend_{
        [](const std::string&, const std::vector<std::string>&) {}};
};

INSTANTIATE_TEST_SUITE_P(
    Platform, AssociationContract,
    ::testing::Values(
        AssociationDeskMaker{"Fake", [] { return std::make_unique<FakeAssociationDesk>(); }},
        AssociationDeskMaker{"Xdg", [] { return std::make_unique<XdgAssociationDesk>(); }}),
    test::associationDeskName);

} // namespace
