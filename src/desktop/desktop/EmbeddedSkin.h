#pragma once
#include <cstdint>
#include <span>

namespace qinglan::desktop {

// The skin engine image (a shared object of the host's format) and the player's skin
// resource, both carried inside the program as constant data and never written to disk.
std::span<const std::uint8_t> embeddedSkinEngineImage();
std::span<const std::uint8_t> embeddedSkinResource();

} // namespace qinglan::desktop
