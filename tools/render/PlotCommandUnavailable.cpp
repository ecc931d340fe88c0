// --plot in builds without Cairo (the Windows tools): refused before anything is rendered.
#include "tools/render/PlotCommand.h"

bool plotAvailable(std::string& why) {
    why = "--plot is not available in this build (it needs Cairo: use the Linux build of the tool)";
    return false;
}

bool plotRender(const AudioData&, const AudioData&, const RenderSettings&, const std::string&,
                const std::string&, std::string& error) {
    return plotAvailable(error);
}
