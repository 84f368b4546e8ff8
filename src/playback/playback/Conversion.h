#pragma once
// What "开始转换" of the transcode window sends to the engine, as a pure list: the transcode
// page's stored choices plus the window's three typed texts become (id, value) pairs in the
// order the engine expects them. The engine converts the next media opened with them.
#include "playback/EngineValue.h"

#include <functional>
#include <string>
#include <vector>

namespace qinglan::playback {

// folder + "/" (unless the folder already ends with one) + name + "." + format. An empty folder
// adds no separator, so the name stays a plain file name rather than one at the root; the engine
// refuses such a name, and one under a relative folder, when the conversion would start.
std::string outputFilePath(const std::string& folder, const std::string& name,
                           const std::string& format);

struct TypedConversion {
    std::string startMs; // "开始时间：", as typed
    std::string endMs;   // "结束时间：", as typed
    std::string name;    // "视频名称："
};

struct ConversionSends {
    bool askForName = false; // the name was empty: nothing is sent, the prompt asks for one
    std::vector<EngineValue> values;
};

// setting(field) answers the loaded settings text of a field (135 to 153 are read).
ConversionSends conversionSends(const std::function<std::string(int field)>& setting,
                                const TypedConversion& typed);

} // namespace qinglan::playback
