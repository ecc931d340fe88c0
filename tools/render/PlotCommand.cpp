// --plot in builds with Cairo.
#include "tools/render/PlotCommand.h"

#include "tools/render/ObservedRender.h"
#include "tools/render/RenderPlot.h"

bool plotAvailable(std::string&) { return true; }

bool plotRender(const AudioData& input, const AudioData& heard, const RenderSettings& settings,
                const std::string& title, const std::string& path, std::string& error) {
    AudioData observed;
    EngineEvents events;
    if (!renderObserved(input, settings, observed, events, error)) return false;
    const int64_t differs = firstDifference(observed, heard);
    if (differs >= 0) {
        // The marks would describe a different engine than the one heard.
        error = "the engine built into this tool and the plug-in binary disagree from sample " +
                std::to_string(differs) + "; no plot (is the binary from another build?)";
        return false;
    }
    return writeRenderPlot(path, PlotData{input, heard, events, settings.tempo, title}, error);
}
