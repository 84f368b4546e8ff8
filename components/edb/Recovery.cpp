#include "edb/Recovery.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <random>
#include <unistd.h>

namespace qinglan::edb {

namespace {

std::string timestampNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &local);
    return buf;
}

// Moves `file` to FILE.broken-<stamp>[-N] without ever replacing an existing file.
Result<std::filesystem::path> setAside(const std::filesystem::path& file) {
    const std::string base = file.string() + ".broken-" + timestampNow();
    for (int n = 1; n < 1000; ++n) {
        std::filesystem::path target = n == 1 ? base : base + "-" + std::to_string(n);
        // link() refuses an existing target, so two programs setting aside at once cannot
        // overwrite each other's copy.
        if (::link(file.c_str(), target.c_str()) == 0) {
            ::unlink(file.c_str());
            return target;
        }
        if (errno != EEXIST)
            return Status{ErrorCode::ReadOnly,
                          "cannot move \"" + file.string() + "\" aside: " + std::strerror(errno)};
    }
    return Status{ErrorCode::Io,
                  "cannot move \"" + file.string() + "\" aside: too many set-aside copies"};
}

std::filesystem::path temporarySibling(const std::filesystem::path& file) {
    std::random_device rd;
    return file.string() + ".new-" + std::to_string(::getpid()) + "-" +
           std::to_string(rd() % 1000000);
}

// Builds a filled database under a temporary name, then links it into place.
// Returns AlreadyExists if somebody else put a file there meanwhile.
Status createFilled(const std::filesystem::path& file, const std::string& password,
                    const std::function<Status(RecordDatabase&)>& fillFresh) {
    std::filesystem::path tmp = temporarySibling(file);
    auto created = RecordDatabase::create(tmp, password);
    if (!created.ok()) return created.status();
    Status s = fillFresh ? fillFresh(created.value()) : Status{};
    created.value().close();
    if (s.ok() && ::link(tmp.c_str(), file.c_str()) != 0) {
        s = errno == EEXIST
                ? Status{ErrorCode::AlreadyExists, "\"" + file.string() + "\" appeared meanwhile"}
                : Status{ErrorCode::Io,
                         "cannot create \"" + file.string() + "\": " + std::strerror(errno)};
    }
    std::error_code ec;
    std::filesystem::remove(tmp, ec);
    return s;
}

} // namespace

bool isPermanentOpenError(ErrorCode code) {
    return code == ErrorCode::NotADatabase || code == ErrorCode::WrongPassword ||
           code == ErrorCode::Corrupt;
}

Result<RecoveredDatabase> openOrRecover(const std::filesystem::path& file,
                                        const std::string& password,
                                        const std::function<Status(RecordDatabase&)>& fillFresh) {
    RecoveredDatabase out;
    // Two rounds: a file created or repaired by another program between our steps is simply
    // opened the second time round.
    for (int round = 0; round < 2; ++round) {
        auto opened = RecordDatabase::open(file, password);
        if (opened.ok()) {
            out.db = std::move(opened).value();
            return out;
        }
        if (isPermanentOpenError(opened.code())) {
            // Moving the user's file away is not undone by the next start, so the verdict is
            // asked for twice, on a fresh connection, before it is acted on.
            opened = RecordDatabase::open(file, password);
            if (opened.ok()) {
                out.db = std::move(opened).value();
                return out;
            }
        }
        ErrorCode code = opened.code();
        if (code != ErrorCode::Missing && !isPermanentOpenError(code)) return opened.status();
        if (code == ErrorCode::Missing) {
            std::error_code ec;
            if (std::filesystem::exists(std::filesystem::symlink_status(file, ec)))
                return opened.status(); // e.g. a dangling link: not ours to replace
            std::filesystem::create_directories(file.parent_path(), ec);
        } else {
            auto moved = setAside(file);
            if (!moved.ok()) return moved.status();
            out.setAsidePath = moved.value();
            out.openError = opened.status();
        }
        Status made = createFilled(file, password, fillFresh);
        if (made.code() == ErrorCode::AlreadyExists) continue;
        if (!made.ok()) return made;
        auto reopened = RecordDatabase::open(file, password);
        if (!reopened.ok()) return reopened.status();
        out.db = std::move(reopened).value();
        out.created = true;
        return out;
    }
    return Status{ErrorCode::Busy,
                  "\"" + file.string() + "\" keeps changing while it is being opened"};
}

} // namespace qinglan::edb
