// Selection from the observed events.
#include "tools/render/EngineEvents.h"

std::vector<EngineEvent> EngineEvents::only(EventKind kind) const {
    std::vector<EngineEvent> chosen;
    for (const EngineEvent& event : events)
        if (event.kind == kind) chosen.push_back(event);
    return chosen;
}
