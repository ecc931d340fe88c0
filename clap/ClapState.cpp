// state: the neutral plug-in's state bytes (tag, layout, current program, bank). Anything but
// exactly those bytes is refused without a change.
#include <memory>

#include "clap/ClapPlugin.h"
#include "clap/Extensions.h"

namespace {

bool CLAP_ABI save(const clap_plugin_t* plugin, const clap_ostream_t* stream) {
    ClapPlugin* self = ClapPlugin::of(plugin);
    if (!self || !stream || !stream->write) return false;
    unsigned char bytes[FreezePlugin::kStateSize];
    self->neutral().saveState(bytes);
    for (uint64_t done = 0; done < sizeof bytes;) {
        const int64_t written = stream->write(stream, bytes + done, sizeof bytes - done);
        if (written <= 0 || static_cast<uint64_t>(written) > sizeof bytes - done) return false;
        done += static_cast<uint64_t>(written);
    }
    return true;
}

bool CLAP_ABI load(const clap_plugin_t* plugin, const clap_istream_t* stream) {
    ClapPlugin* self = ClapPlugin::of(plugin);
    if (!self || !stream || !stream->read) return false;
    // One byte more than a state: a longer stream is told from a whole one.
    unsigned char bytes[FreezePlugin::kStateSize + 1];
    uint64_t done = 0;
    while (done < sizeof bytes) {
        const int64_t got = stream->read(stream, bytes + done, sizeof bytes - done);
        if (got == 0) break;
        if (got < 0 || static_cast<uint64_t>(got) > sizeof bytes - done) return false;
        done += static_cast<uint64_t>(got);
    }
    if (done != static_cast<uint64_t>(FreezePlugin::kStateSize) ||
        !self->neutral().loadState(bytes, FreezePlugin::kStateSize))
        return false;
    const clap_host_params_t* params = self->hostParams();
    if (params && params->rescan) params->rescan(self->host(), CLAP_PARAM_RESCAN_VALUES);
    return true;
}

}  // namespace

const clap_plugin_state_t kClapState = {save, load};
