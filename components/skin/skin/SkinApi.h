#pragma once
// The skin engine's two entry points, as the player calls them after finding them by name in
// the engine image it maps from memory.
//
// SkinH_AttachRes(resource, length, password, hue, saturation, brightness)
//   Applies the skin described by `length` bytes at `resource` (the format is described in
//   skin/SkinResource.h) to the running QApplication: style, palette, font and style sheet.
//   `password` is a zero-terminated text; "" means the resource is not protected. `hue` turns
//   every colour of the skin by that many degrees (-180..180); `saturation` and `brightness`
//   move them by a percentage (-100..100) towards full or none; 0, 0, 0 leaves the colours as
//   designed. Returns 1 when the skin is applied, 0 when nothing was changed (no
//   QApplication, not its thread, a malformed resource or a wrong password).
//   Attaching again replaces the skin; the look from before the first attach is kept.
//
// SkinH_Detach()
//   Restores the look the application had before the first attach. Returns 1 when a skin
//   was removed, 0 when none was attached.
//
// On 32-bit x86 both use the stdcall convention of Windows DLL exports, so a caller treats
// every engine image alike; elsewhere the platform's C convention.
#include <stdint.h>

#if defined(__i386__) || defined(_M_IX86)
#if defined(_MSC_VER)
#define SKINH_CALL __stdcall
#else
#define SKINH_CALL __attribute__((stdcall))
#endif
#else
#define SKINH_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int(SKINH_CALL* SkinH_AttachResFunction)(const unsigned char* resource, int32_t length,
                                                 const char* password, int32_t hue,
                                                 int32_t saturation, int32_t brightness);
typedef int(SKINH_CALL* SkinH_DetachFunction)(void);

#ifdef __cplusplus
}
#endif
