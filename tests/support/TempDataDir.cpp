#include "support/TempDataDir.h"

#include <cstdlib>
#include <stdexcept>

namespace qinglan::test {

namespace {
bool saveEnv(const char* name, std::string& out) {
    const char* v = std::getenv(name);
    if (v) out = v;
    return v != nullptr;
}
void restoreEnv(const char* name, bool had, const std::string& value) {
    if (had)
        setenv(name, value.c_str(), 1);
    else
        unsetenv(name);
}
} // namespace

TempDataDir::TempDataDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "qinglan-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    root_ = tmpl;
    std::filesystem::create_directories(root_ / "data");
    std::filesystem::create_directories(root_ / "config");
    hadData_ = saveEnv("XDG_DATA_HOME", oldData_);
    hadConfig_ = saveEnv("XDG_CONFIG_HOME", oldConfig_);
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
}

TempDataDir::~TempDataDir() {
    restoreEnv("XDG_DATA_HOME", hadData_, oldData_);
    restoreEnv("XDG_CONFIG_HOME", hadConfig_, oldConfig_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

} // namespace qinglan::test
