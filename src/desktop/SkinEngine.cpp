#include "desktop/SkinEngine.h"

#include "desktop/EmbeddedSkin.h"
#include "skin/SkinApi.h"

namespace qinglan::desktop {

bool mapSkinEngine(InMemoryLibrary& library) {
    return library.Load(embeddedSkinEngineImage());
}

bool attachSkin(const InMemoryLibrary& library) {
    // Looked up just before the call: the engine may have been unloaded or replaced since.
    const std::uintptr_t address = library.GetExport("SkinH_AttachRes");
    if (address == 0) return false;
    const auto attach = reinterpret_cast<SkinH_AttachResFunction>(address);
    const auto resource = embeddedSkinResource();
    return attach(resource.data(), static_cast<std::int32_t>(resource.size()), "", 0, 0, 0) != 0;
}

void detachSkin(const InMemoryLibrary& library) {
    const std::uintptr_t address = library.GetExport("SkinH_Detach");
    if (address == 0) return;
    reinterpret_cast<SkinH_DetachFunction>(address)();
}

} // namespace qinglan::desktop
