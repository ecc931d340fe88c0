// URIs to numbers as an LV2 host maps them, for the test host, the state fuzz target and the
// LV2 benchmark: one map per program (hosts keep one for every instance).
#pragma once

#include <map>
#include <string>
#include <vector>

#include <lv2/urid/urid.h>

class UridMap {
public:
    static UridMap& shared() {
        static UridMap instance;
        return instance;
    }
    LV2_URID map(const char* uri) {
        if (!uri) return 0;
        auto found = ids.find(uri);
        if (found != ids.end()) return found->second;
        const auto id = static_cast<LV2_URID>(uris.size());
        uris.emplace_back(uri);
        ids.emplace(uri, id);
        return id;
    }
    const char* unmap(LV2_URID urid) const {
        return urid > 0 && urid < uris.size() ? uris[urid].c_str() : nullptr;
    }
    LV2_URID_Map* mapFeature() { return &mapData; }
    LV2_URID_Unmap* unmapFeature() { return &unmapData; }

private:
    UridMap() {
        uris.emplace_back();  // 0 is no URID
        mapData.handle = this;
        mapData.map = [](LV2_URID_Map_Handle self, const char* uri) { return static_cast<UridMap*>(self)->map(uri); };
        unmapData.handle = this;
        unmapData.unmap = [](LV2_URID_Unmap_Handle self, LV2_URID urid) {
            return static_cast<UridMap*>(self)->unmap(urid);
        };
    }
    std::map<std::string, LV2_URID> ids;
    std::vector<std::string> uris;
    LV2_URID_Map mapData;
    LV2_URID_Unmap unmapData;
};
