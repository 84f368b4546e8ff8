#include "desktop/EmbeddedSkin.h"

// The build passes the two files' paths; the assembler copies their bytes into the program's
// read-only data, so no file is needed at run time.
#if !defined(QINGLAN_SKIN_ENGINE_FILE) || !defined(QINGLAN_SKIN_RESOURCE_FILE)
#error "the build must name the skin engine image and the skin resource"
#endif

#define QINGLAN_EMBED(symbol, file)                                                                \
    __asm__(".pushsection .rodata." #symbol ",\"a\",@progbits\n"                                   \
            ".balign 16\n"                                                                         \
            ".type " #symbol "_begin, @object\n" #symbol "_begin:\n"                               \
            ".incbin \"" file "\"\n" #symbol "_end:\n"                                             \
            ".byte 0\n"                                                                            \
            ".popsection\n")

QINGLAN_EMBED(qinglan_skin_engine, QINGLAN_SKIN_ENGINE_FILE);
QINGLAN_EMBED(qinglan_skin_resource, QINGLAN_SKIN_RESOURCE_FILE);

extern "C" {
extern const std::uint8_t qinglan_skin_engine_begin[] __attribute__((visibility("hidden")));
extern const std::uint8_t qinglan_skin_engine_end[] __attribute__((visibility("hidden")));
extern const std::uint8_t qinglan_skin_resource_begin[] __attribute__((visibility("hidden")));
extern const std::uint8_t qinglan_skin_resource_end[] __attribute__((visibility("hidden")));
}

namespace qinglan::desktop {

std::span<const std::uint8_t> embeddedSkinEngineImage() {
    return {qinglan_skin_engine_begin, qinglan_skin_engine_end};
}

std::span<const std::uint8_t> embeddedSkinResource() {
    return {qinglan_skin_resource_begin, qinglan_skin_resource_end};
}

} // namespace qinglan::desktop
