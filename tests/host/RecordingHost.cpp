#include "RecordingHost.h"

RecordingHost& RecordingHost::instance() {
    static RecordingHost host;
    return host;
}

intptr_t VSTCALL RecordingHost::callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                         void* ptr, float opt) {
    RecordingHost& host = instance();
    host.requests.push_back({effect, opcode, index, value, ptr, opt});
    auto found = host.answers.find(opcode);
    return found == host.answers.end() ? 0 : found->second;
}

RecordingHost& RecordingHost::reset(intptr_t versionAnswer) {
    RecordingHost& host = instance();
    host.requests.clear();
    host.answers.clear();
    host.answers[audioMasterVersion] = versionAnswer;
    return host;
}

int RecordingHost::countOf(int32_t opcode) const {
    int count = 0;
    for (const HostRequest& request : requests) count += request.opcode == opcode ? 1 : 0;
    return count;
}
