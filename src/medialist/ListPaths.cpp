#include "medialist/ListPaths.h"

namespace qinglan::medialist {

std::string_view displayName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string withTrailingSlash(std::string_view folder) {
    std::string out(folder);
    if (out.empty() || out.back() != '/') out.push_back('/');
    return out;
}

std::string_view containingFolder(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

const std::array<std::string_view, kMediaPatternCount>& mediaPatterns() {
    static const auto patterns = [] {
        std::array<std::string_view, kMediaPatternCount> out{};
        std::string_view rest = kMediaFilter;
        for (auto& p : out) {
            const auto semicolon = rest.find(';');
            p = rest.substr(0, semicolon);
            rest = semicolon == std::string_view::npos ? std::string_view()
                                                       : rest.substr(semicolon + 1);
        }
        return out;
    }();
    return patterns;
}

bool matchesMediaPattern(std::string_view path) {
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = path.substr(dot + 1);
    for (std::string_view p : mediaPatterns())
        if (p.size() == extension.size() + 2 && p.substr(2) == extension) return true;
    return false;
}

} // namespace qinglan::medialist
