#include "playback/VrValues.h"

#include <aplayer/ConfigTable.h>
#include <settings/SettingsFields.h>

#include <array>

namespace qinglan::playback {
namespace {

namespace field = settings::field;
namespace cfg = aplayer::cfg;

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
    if (stored(field::VrOn) != "1") return out;
    const std::string mode = stored(field::VrDrawMode);
    for (const DrawMode& m : kDrawModes)
        if (m.name == mode) {
            out.push_back({cfg::VrMode, std::string(m.number)});
            break;
        }
    out.push_back({cfg::VrView, stored(field::VrHorizontal) + ";" + stored(field::VrVertical) +
                                    ";" + stored(field::VrDistance)});
    if (stored(field::VrNoDevice) == "1")
        out.push_back({cfg::VrDevice, "0"});
    else if (stored(field::VrOculus) == "1")
        out.push_back({cfg::VrDevice, "1"});
    out.push_back({cfg::VrRedrawInterval, stored(field::VrFrameInterval)});
    const int monitors[] = {field::VrMonitorBoth, field::VrMonitorOne, field::VrMonitorNone};
    for (int i = 0; i < 3; ++i)
        if (stored(monitors[i]) == "1") {
            out.push_back({cfg::VrMonitor, std::to_string(i)});
            break;
        }
    out.push_back({cfg::VrCaps, stored(field::VrCapTop) + ";" + stored(field::VrCapBottom) + ";" +
                                    stored(field::VrCapColour)});
    out.push_back({cfg::VrQuality, stored(field::VrQuality)});
    return out;
}

} // namespace qinglan::playback
