#include "playback/VrValues.h"

#include <array>

namespace qinglan::playback {
namespace {

// The page's fields.
constexpr int kOn = 116;
constexpr int kDrawMode = 118;
constexpr int kHorizontal = 119, kVertical = 120, kDistance = 121;
constexpr int kNoDevice = 122, kOculus = 123;
constexpr int kFrameInterval = 124;
constexpr int kMonitorBoth = 125, kMonitorOne = 126, kMonitorNone = 127;
constexpr int kCapColour = 128, kCapTop = 129, kCapBottom = 130;
constexpr int kQuality = 131;

// The engine's ids.
constexpr int kMode = 2402, kView = 2403, kDevice = 2404, kInterval = 2405, kMonitor = 2407,
              kCaps = 2408, kRenderQuality = 2410;

constexpr std::array kDrawModes{
    DrawMode{"无效果", "0"},           DrawMode{"矩形全景左右", "1"},
    DrawMode{"圆形半景外下内上", "3"}, DrawMode{"圆形半景内下外上", "4"},
    DrawMode{"矩形双目全景左右", "7"}, DrawMode{"矩形双目立体全景左右", "9"},
    DrawMode{"圆形全景左右", "11"},    DrawMode{"圆形双目全景左右", "15"},
};

} // namespace

std::span<const DrawMode> vrDrawModes() {
    return kDrawModes;
}

std::vector<EngineValue> vrEngineValues(const std::function<std::string(int field)>& stored) {
    std::vector<EngineValue> out;
    if (stored(kOn) != "1") return out;
    const std::string mode = stored(kDrawMode);
    for (const DrawMode& m : kDrawModes)
        if (m.name == mode) {
            out.push_back({kMode, std::string(m.number)});
            break;
        }
    out.push_back({kView, stored(kHorizontal) + ";" + stored(kVertical) + ";" + stored(kDistance)});
    if (stored(kNoDevice) == "1")
        out.push_back({kDevice, "0"});
    else if (stored(kOculus) == "1")
        out.push_back({kDevice, "1"});
    out.push_back({kInterval, stored(kFrameInterval)});
    const int monitors[] = {kMonitorBoth, kMonitorOne, kMonitorNone};
    for (int i = 0; i < 3; ++i)
        if (stored(monitors[i]) == "1") {
            out.push_back({kMonitor, std::to_string(i)});
            break;
        }
    out.push_back({kCaps, stored(kCapTop) + ";" + stored(kCapBottom) + ";" + stored(kCapColour)});
    out.push_back({kRenderQuality, stored(kQuality)});
    return out;
}

} // namespace qinglan::playback
