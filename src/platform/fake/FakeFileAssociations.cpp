#include "platform/fake/FakeFileAssociations.h"

namespace qinglan::platform {

std::vector<std::string> FakeFileAssociations::apply(const AssociatedProgram& program,
                                                     std::span<const FileTypeChoice> choices) {
    calls_.push_back({program, {choices.begin(), choices.end()}});
    std::vector<std::string> failed;
    for (const auto& choice : choices) {
        if (refused_.count(choice.extension)) {
            failed.push_back(choice.extension);
        } else if (choice.associate) {
            ours_.insert(choice.extension);
        } else {
            ours_.erase(choice.extension);
        }
    }
    return failed;
}

} // namespace qinglan::platform
