#include "playback/Conversion.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/OutputFormats.h>
#include <settings/SettingsFields.h>

namespace qinglan::playback {

namespace field = settings::field;

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
    const auto on = [&](int number) { return setting(number) == "1"; };
    auto& v = out.values;
    namespace cfg = aplayer::cfg;
    if (on(field::TranscodeOn)) {
        if (on(field::TranscodeSourceSize)) {
            v.push_back({cfg::OutputWidth, "0"});
            v.push_back({cfg::OutputHeight, "0"});
        } else if (on(field::TranscodeCustomSize)) {
            v.push_back({cfg::OutputWidth, setting(field::TranscodeWidth)});
            v.push_back({cfg::OutputHeight, setting(field::TranscodeHeight)});
        }
        if (on(field::TranscodeModePlay))
            v.push_back({cfg::ProcessingMode, "1"});
        else if (on(field::TranscodeModeConvert))
            v.push_back({cfg::ProcessingMode, "2"});
        else if (on(field::TranscodeModeTranscode))
            v.push_back({cfg::ProcessingMode, "3"});
        const std::string format = setting(field::TranscodeFormat);
        // Only exactly one of the engine's format names is sent.
        if (aplayer::findOutputFormat(format)) v.push_back({cfg::OutputFormat, format});
        if (on(field::TranscodeKeepAspect))
            v.push_back({cfg::OutputKeepAspect, "1"});
        else if (on(field::TranscodeFreeAspect))
            v.push_back({cfg::OutputKeepAspect, "0"});
        v.push_back({cfg::OutputAudioTrack, setting(field::TranscodeAudioTrack)});
        v.push_back({cfg::OutputSubtitle, setting(field::TranscodeSubtitle)});
        for (int edge : {field::TranscodeBorderTop, field::TranscodeBorderBottom,
                         field::TranscodeBorderLeft, field::TranscodeBorderRight})
            v.push_back({cfg::OutputBorder, setting(edge)});
        v.push_back(
            {cfg::OutputFile, outputFilePath(setting(field::TranscodeFolder), typed.name, format)});
    }
    v.push_back({cfg::StartMs, typed.startMs});
    v.push_back({cfg::EndMs, typed.endMs});
    return out;
}

} // namespace qinglan::playback
