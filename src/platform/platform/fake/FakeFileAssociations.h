#pragma once
#include "platform/FileAssociations.h"

#include <set>

namespace qinglan::platform {

// Associations kept in memory: each extension's last state, per extension as a desktop without
// shared types keeps them. An extension a test marks as refused is never changed and is
// reported as failed, like a write the desktop does not allow.
class FakeFileAssociations final : public FileAssociations {
public:
    std::vector<std::string> apply(const AssociatedProgram& program,
                                   std::span<const FileTypeChoice> choices) override;

    void refuse(const std::string& extension) { refused_.insert(extension); }

    // Every apply() call, in order.
    struct Call {
        AssociatedProgram program;
        std::vector<FileTypeChoice> choices;
    };
    const std::vector<Call>& calls() const { return calls_; }
    // Whether `extension` is the player's now.
    bool associated(const std::string& extension) const { return ours_.count(extension) > 0; }

private:
    std::vector<Call> calls_;
    std::set<std::string> ours_, refused_;
};

} // namespace qinglan::platform
