#pragma once
#include <filesystem>
#include <string>

namespace qinglan::test {

// A fresh folder for one test, used as XDG_DATA_HOME (and XDG_CONFIG_HOME) while the
// object lives, so that nothing a test stores can touch the user's files or another test.
class TempDataDir {
public:
    TempDataDir();
    ~TempDataDir();
    TempDataDir(const TempDataDir&) = delete;
    TempDataDir& operator=(const TempDataDir&) = delete;

    const std::filesystem::path& path() const { return root_; }
    // Where the player keeps mote.edb and means.edb under this data home.
    std::filesystem::path playerDataDir() const { return root_ / "data" / "qinglan"; }

private:
    std::filesystem::path root_;
    std::string oldData_, oldConfig_;
    bool hadData_ = false, hadConfig_ = false;
};

} // namespace qinglan::test
