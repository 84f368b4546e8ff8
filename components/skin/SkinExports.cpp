// The engine's exported entry points (see skin/SkinApi.h). Nothing else leaves the shared
// object: it is built with hidden visibility.
#include "skin/SkinApi.h"
#include "skin/SkinApplier.h"
#include "skin/SkinResource.h"

#define SKINH_EXPORT extern "C" __attribute__((visibility("default")))

SKINH_EXPORT int SKINH_CALL SkinH_AttachRes(const unsigned char* resource, int32_t length,
                                            const char* password, int32_t hue, int32_t saturation,
                                            int32_t brightness) {
    using namespace qinglan::skin;
    if (resource == nullptr || length <= 0) return 0;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(resource), length);
    const auto skin = parseSkinResource(bytes, password ? QByteArray(password) : QByteArray());
    if (!skin) return 0;
    return processSkin().attach(*skin, {hue, saturation, brightness}) ? 1 : 0;
}

SKINH_EXPORT int SKINH_CALL SkinH_Detach(void) {
    return qinglan::skin::processSkin().detach() ? 1 : 0;
}
