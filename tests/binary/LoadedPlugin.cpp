// Loading the plug-in through its entry point for the binary tests.
#include "LoadedPlugin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

std::vector<HostRequest> RecordingHost::requests;
intptr_t RecordingHost::versionAnswer = 2400;
bool RecordingHost::answerTime = true;
VstTimeInfo RecordingHost::timeInfo{};

intptr_t VSTCALL RecordingHost::callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                         void*, float) {
    requests.push_back({effect == nullptr, opcode, index, value});
    switch (opcode) {
    case audioMasterVersion: return versionAnswer;
    case audioMasterGetTime: return answerTime ? reinterpret_cast<intptr_t>(&timeInfo) : 0;
    default: return 0;
    }
}

void RecordingHost::reset() {
    requests.clear();
    versionAnswer = 2400;
    answerTime = true;
    timeInfo = VstTimeInfo{};
    timeInfo.sampleRate = 44100.0;
    timeInfo.tempo = 120.0;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.flags = kVstTempoValid | kVstPpqPosValid;
}

int RecordingHost::count(int32_t opcode) {
    int n = 0;
    for (const HostRequest& r : requests) n += r.opcode == opcode ? 1 : 0;
    return n;
}

std::string pluginPath() {
    const char* chosen = std::getenv("BRINDLE_PLUGIN");
    std::string path = chosen && *chosen ? chosen : BRINDLE_PLUGIN_FILE;
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
    return path;
}

PluginLoader& pluginLibrary() {
    // Never unloaded: the library stays mapped until the process ends, so that the leak
    // checker of the sanitizer run can still name the plug-in's functions.
    static PluginLoader& loader = *new PluginLoader;
    if (!loader.entry()) {
        const bool loaded = loader.load(pluginPath());
        EXPECT_TRUE(loaded) << loader.error();
    }
    return loader;
}

PluginInstance::PluginInstance() {
    RecordingHost::reset();
    PluginEntryProc entry = pluginLibrary().entry();
    EXPECT_NE(entry, nullptr) << "no VSTPluginMain or main in " << pluginPath();
    if (entry) record = entry(RecordingHost::callback);
    EXPECT_NE(record, nullptr) << "the entry point returned no record";
}

PluginInstance::~PluginInstance() { close(); }

intptr_t PluginInstance::close() {
    if (!record) return 0;
    const intptr_t answer = record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    record = nullptr;
    return answer;
}

intptr_t PluginInstance::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) const {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(int32_t opcode, int32_t index) const {
    // Far larger than any published text length, so an overlong write shows as a failure
    // below instead of a corrupted stack.
    char buffer[256];
    std::memset(buffer, 0x7F, sizeof buffer);
    buffer[0] = '\0';
    dispatch(opcode, index, 0, buffer);
    const void* end = std::memchr(buffer, '\0', sizeof buffer);
    EXPECT_NE(end, nullptr) << "opcode " << opcode << " wrote an unterminated text";
    if (!end) return std::string();
    return buffer;
}

void PluginInstance::setParameter(int32_t index, float value) const {
    record->setParameter(record, index, value);
}

float PluginInstance::getParameter(int32_t index) const { return record->getParameter(record, index); }

std::vector<unsigned char> PluginInstance::chunk(bool preset) const {
    void* data = nullptr;
    const intptr_t size = dispatch(effGetChunk, preset ? 1 : 0, 0, &data);
    EXPECT_GT(size, 0);
    EXPECT_NE(data, nullptr);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

intptr_t PluginInstance::setChunk(std::vector<unsigned char> bytes, bool preset) const {
    return dispatch(effSetChunk, preset ? 1 : 0, static_cast<intptr_t>(bytes.size()), bytes.data());
}

int32_t readInt32(const unsigned char* bytes) {
    const uint32_t v = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                       static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return static_cast<int32_t>(v);
}

float readFloat(const unsigned char* bytes) {
    const int32_t bits = readInt32(bytes);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void writeFloat(unsigned char* bytes, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
}
