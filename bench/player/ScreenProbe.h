#pragma once
// What the player benchmarks share: a monotonic clock, the colours of the generated clips as
// seen in one pixel of the X screen, and the median of a run.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

namespace qinglan::bench {

inline double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

inline void sleepMs(double ms) {
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long>(ms * 1000)));
}

struct Rgb {
    int r, g, b;
};

inline Rgb rgbOf(unsigned long pixel, const Visual* v) {
    auto channel = [&](unsigned long mask) {
        int shift = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        return static_cast<int>((pixel >> shift) & mask);
    };
    return {channel(v->red_mask), channel(v->green_mask), channel(v->blue_mask)};
}

// The clips' backgrounds; the encoder and the scaler move them by a few steps.
inline bool isNear(Rgb c, Rgb expected) {
    return std::abs(c.r - expected.r) < 30 && std::abs(c.g - expected.g) < 30 &&
           std::abs(c.b - expected.b) < 30;
}
inline constexpr Rgb kClipBlue{0x1E, 0x5A, 0xC8};
inline constexpr Rgb kClipOrange{0xE0, 0x80, 0x1E};
inline bool isClipBlue(Rgb c) {
    return isNear(c, kClipBlue);
}

// One pixel of the root window.
inline Rgb pixelAt(Display* d, int x, int y) {
    XImage* img = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!img) return {-1000, -1000, -1000};
    const Rgb c = rgbOf(XGetPixel(img, 0, 0), DefaultVisual(d, DefaultScreen(d)));
    XDestroyImage(img);
    return c;
}

// Blanks the screen so the previous run's picture cannot count.
inline void clearScreen(Display* d) {
    const Window root = DefaultRootWindow(d);
    GC gc = XCreateGC(d, root, 0, nullptr);
    XSetForeground(d, gc, BlackPixel(d, DefaultScreen(d)));
    XSetSubwindowMode(d, gc, IncludeInferiors);
    XFillRectangle(d, root, gc, 0, 0, static_cast<unsigned>(DisplayWidth(d, DefaultScreen(d))),
                   static_cast<unsigned>(DisplayHeight(d, DefaultScreen(d))));
    XFreeGC(d, gc);
    XSync(d, False);
}

// The median of the values that were measured (negative ones were not).
inline double median(std::vector<double> v) {
    v.erase(std::remove_if(v.begin(), v.end(), [](double x) { return x < 0; }), v.end());
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace qinglan::bench
