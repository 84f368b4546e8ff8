#pragma once
// One configuration value for the engine, as the pure send lists of the playback layer give
// them: the caller sends them in their order.
#include <string>

namespace qinglan::playback {

struct EngineValue {
    int id;
    std::string value;
    bool operator==(const EngineValue&) const = default;
};

} // namespace qinglan::playback
