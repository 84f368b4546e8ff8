#include "playback/Conversion.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/OutputFormats.h>

#include <algorithm>
#include <array>

namespace qinglan::playback {
namespace {

// The transcode page's fields.
enum Field : int {
    ProcessingOn = 135,
    SourceSize = 137,
    CustomSize = 138,
    Width = 139,
    Height = 140,
    ModePlay = 141,
    ModeConvert = 142,
    ModeTranscode = 143,
    Format = 144,
    Folder = 145,
    KeepAspect = 146,
    FreeAspect = 147,
    AudioTrack = 148,
    SubtitleIndex = 149,
    BorderTop = 150,
    BorderBottom = 151,
    BorderLeft = 152,
    BorderRight = 153,
};

} // namespace

std::string outputFilePath(const std::string& folder, const std::string& name,
                           const std::string& format) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + name + "." + format;
}

ConversionSends conversionSends(const std::function<std::string(int field)>& setting,
                                const TypedConversion& typed) {
    ConversionSends out;
    if (typed.name.empty()) {
        out.askForName = true;
        return out;
    }
    const auto on = [&](int field) { return setting(field) == "1"; };
    auto& v = out.values;
    namespace cfg = aplayer::cfg;
    if (on(ProcessingOn)) {
        if (on(SourceSize)) {
            v.push_back({cfg::OutputWidth, "0"});
            v.push_back({cfg::OutputHeight, "0"});
        } else if (on(CustomSize)) {
            v.push_back({cfg::OutputWidth, setting(Width)});
            v.push_back({cfg::OutputHeight, setting(Height)});
        }
        if (on(ModePlay))
            v.push_back({cfg::ProcessingMode, "1"});
        else if (on(ModeConvert))
            v.push_back({cfg::ProcessingMode, "2"});
        else if (on(ModeTranscode))
            v.push_back({cfg::ProcessingMode, "3"});
        const std::string format = setting(Format);
        // Only exactly one of the engine's format names is sent.
        if (aplayer::findOutputFormat(format)) v.push_back({cfg::OutputFormat, format});
        if (on(KeepAspect))
            v.push_back({cfg::OutputKeepAspect, "1"});
        else if (on(FreeAspect))
            v.push_back({cfg::OutputKeepAspect, "0"});
        v.push_back({cfg::OutputAudioTrack, setting(AudioTrack)});
        v.push_back({cfg::OutputSubtitle, setting(SubtitleIndex)});
        for (int edge : {BorderTop, BorderBottom, BorderLeft, BorderRight})
            v.push_back({cfg::OutputBorder, setting(edge)});
        v.push_back({cfg::OutputFile, outputFilePath(setting(Folder), typed.name, format)});
    }
    v.push_back({cfg::StartMs, typed.startMs});
    v.push_back({cfg::EndMs, typed.endMs});
    return out;
}

} // namespace qinglan::playback
