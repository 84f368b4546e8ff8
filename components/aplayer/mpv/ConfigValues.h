#pragma once
// The configuration values the player sent, by id, as sent. Every part of the engine reads its
// ids here; the values are kept whether or not anything applies them.
#include <map>
#include <string>

namespace qinglan::aplayer {

class ConfigValues {
public:
    // "" for an id never sent.
    std::string operator[](int id) const {
        auto it = values_.find(id);
        return it == values_.end() ? std::string() : it->second;
    }
    void set(int id, std::string value) { values_[id] = std::move(value); }
    const std::map<int, std::string>& all() const { return values_; }

private:
    std::map<int, std::string> values_;
};

} // namespace qinglan::aplayer
