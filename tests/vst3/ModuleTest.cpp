// The module as a host first sees it: exports, factory, class, moduleinfo.json, the interfaces
// of an instance and the references it takes and gives back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Vst3TestHost.h"
#include "plugin/PluginInfo.h"
#include "tools/loader/PluginLoader.h"
#include "vst3/Vst3Ids.h"

using namespace v3;

namespace {

std::string text16(const char16_t* text, size_t size) {
    std::string out;
    for (size_t i = 0; i < size && text[i]; ++i) out += static_cast<char>(text[i]);
    return out;
}

IPluginFactory* factory() {
    Vst3Library& library = Vst3Library::shared();
    EXPECT_TRUE(library.ok()) << library.error();
    return library.factory();
}

template <class T>
T* query(FUnknown* object, const Uid& iid) {
    void* found = nullptr;
    return object->queryInterface(iid.data(), &found) == kResultOk ? static_cast<T*>(found) : nullptr;
}

TEST(Vst3Module, ExportsTheEntryPointsOfItsPlatform) {
    Vst3Library& library = Vst3Library::shared();
    ASSERT_TRUE(library.ok()) << library.error();
    EXPECT_NE(library.symbol("GetPluginFactory"), nullptr);
#ifdef _WIN32
    EXPECT_NE(library.symbol("InitDll"), nullptr);
    EXPECT_NE(library.symbol("ExitDll"), nullptr);
    EXPECT_EQ(library.symbol("ModuleEntry"), nullptr);
#else
    EXPECT_NE(library.symbol("ModuleEntry"), nullptr);
    EXPECT_NE(library.symbol("ModuleExit"), nullptr);
#endif
    // A second GetPluginFactory hands the same factory with a reference of its own.
    using GetFactory = IPluginFactory*(V3CALL*)();
    auto* get = reinterpret_cast<GetFactory>(library.symbol("GetPluginFactory"));
    IPluginFactory* again = get();
    EXPECT_EQ(again, library.factory());
    EXPECT_EQ(again->release(), 1u);
}

TEST(Vst3Module, FactoryAndClassDescribeThePlugin) {
    IPluginFactory* f = factory();
    ASSERT_NE(f, nullptr);
    PFactoryInfo info{};
    ASSERT_EQ(f->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, kVendorName);
    EXPECT_STREQ(info.url, kVendorUrl);
    EXPECT_EQ(info.flags, 16);
    ASSERT_EQ(f->countClasses(), 1);

    PClassInfo one{};
    ASSERT_EQ(f->getClassInfo(0, &one), kResultOk);
    EXPECT_EQ(uidString(one.cid), "56535442524C506272696E646C656C6F");
    EXPECT_STREQ(one.category, "Audio Module Class");
    EXPECT_STREQ(one.name, "brindleLoop");
    EXPECT_EQ(one.cardinality, 0x7FFFFFFF);
    for (int32 bad : {-1, 1, 1000}) EXPECT_EQ(f->getClassInfo(bad, &one), kInvalidArgument) << bad;

    auto* f2 = query<IPluginFactory2>(f, kIPluginFactory2Iid);
    auto* f3 = query<IPluginFactory3>(f, kIPluginFactory3Iid);
    ASSERT_TRUE(f2 && f3);
    PClassInfo2 two{};
    ASSERT_EQ(f2->getClassInfo2(0, &two), kResultOk);
    EXPECT_EQ(std::memcmp(two.cid, one.cid, 16), 0);
    EXPECT_STREQ(two.subCategories, "Fx|Delay|Stereo");
    EXPECT_STREQ(two.vendor, kVendorName);
    EXPECT_STREQ(two.version, kVersionString);
    EXPECT_STREQ(two.sdkVersion, "VST 3.7.14");
    PClassInfoW wide{};
    ASSERT_EQ(f3->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(std::memcmp(wide.cid, one.cid, 16), 0);
    EXPECT_EQ(text16(wide.name, 64), "brindleLoop");
    EXPECT_EQ(text16(wide.version, 64), kVersionString);
    EXPECT_EQ(f3->setHostContext(nullptr), kResultOk);
    f3->release();
    f2->release();
}

TEST(Vst3Module, ClassIdComesFromTheVst2UniqueIdAndName) {
    // The VST 2 binary of this tree tells its unique ID; the class ID is 'VST', that ID and
    // "brindlelo" (the name's first nine bytes in lower case).
    PluginLoader vst2;
    std::string path = BRINDLE_PLUGIN_FILE;
#ifdef _WIN32
    path = "Z:" + path;
#endif
    ASSERT_TRUE(vst2.load(path)) << vst2.error();
    AEffect* effect = vst2.entry()([](AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) -> intptr_t {
        return opcode == audioMasterVersion ? 2400 : 0;
    });
    ASSERT_NE(effect, nullptr);
    const int32_t uniqueId = effect->uniqueID;
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    char expected[33];
    std::snprintf(expected, sizeof expected, "565354%08X%s", static_cast<unsigned>(uniqueId), "6272696E646C656C6F");
    PClassInfo info{};
    ASSERT_EQ(factory()->getClassInfo(0, &info), kResultOk);
    EXPECT_EQ(uidString(info.cid), expected);
}

TEST(Vst3Module, ModuleInfoAgreesWithTheFactory) {
    const std::vector<unsigned char> bytes = fileBytes(Vst3Library::moduleInfoPath());
    const std::string json(bytes.begin(), bytes.end());
    PClassInfo2 info{};
    auto* f2 = query<IPluginFactory2>(factory(), kIPluginFactory2Iid);
    ASSERT_NE(f2, nullptr);
    ASSERT_EQ(f2->getClassInfo2(0, &info), kResultOk);
    f2->release();
    const std::string cid = uidString(info.cid);
    // The class, and the VST 2 plug-in it replaces (whose ID is the same by the recipe).
    const std::string expected[] = {
        "\"Name\": \"brindleLoop\"",
        std::string("\"Version\": \"") + kVersionString + "\"",
        std::string("\"Vendor\": \"") + kVendorName + "\"",
        "\"CID\": \"" + cid + "\"",
        "\"New\": \"" + cid + "\"",
        "\"Old\": [\n        \"" + cid + "\"",
        "\"Category\": \"Audio Module Class\"",
        "\"Sub Categories\": [\n        \"Fx\",\n        \"Delay\",\n        \"Stereo\"",
        "\"Cardinality\": 2147483647",
    };
    for (const std::string& piece : expected) EXPECT_NE(json.find(piece), std::string::npos) << piece;
}

TEST(Vst3Module, CreateInstanceRefusesOtherClassesAndInterfaces) {
    IPluginFactory* f = factory();
    const Uid other{0x12345678, 0x9ABCDEF0, 0x12345678, 0x9ABCDEF0};
    void* object = &object;
    EXPECT_NE(f->createInstance(other.data(), kIComponentIid.data(), &object), kResultOk);
    EXPECT_EQ(object, nullptr);
    object = &object;
    EXPECT_NE(f->createInstance(kProcessorUid.data(), kIPlugViewIid.data(), &object), kResultOk);
    EXPECT_EQ(object, nullptr);
    EXPECT_NE(f->createInstance(kProcessorUid.data(), kIComponentIid.data(), nullptr), kResultOk);
    // Any of the instance's interfaces may be asked for first.
    for (const Uid* iid : {&kIComponentIid, &kIAudioProcessorIid, &kIEditControllerIid, &kFUnknownIid}) {
        object = nullptr;
        ASSERT_EQ(f->createInstance(kProcessorUid.data(), iid->data(), &object), kResultOk);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(static_cast<FUnknown*>(object)->release(), 0u);
    }
}

constexpr Uid kConnectionPoint{0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1};

TEST(Vst3Module, EveryInterfaceIsTheOneObjectAndReferencesBalance) {
    struct Answer {
        const char* name;
        const Uid* iid;
        bool answered;
    };
    const Answer answers[] = {
        {"FUnknown", &kFUnknownIid, true},
        {"IPluginBase", &kIPluginBaseIid, true},
        {"IComponent", &kIComponentIid, true},
        {"IAudioProcessor", &kIAudioProcessorIid, true},
        {"IProcessContextRequirements", &kIProcessContextRequirementsIid, true},
        {"IEditController", &kIEditControllerIid, true},
        {"IUnitInfo", &kIUnitInfoIid, true},
        {"IPlugView", &kIPlugViewIid, false},
        {"IPluginFactory", &kIPluginFactoryIid, false},
        {"IBStream", &kIBStreamIid, false},
        {"IConnectionPoint", &kConnectionPoint, false},
    };
    {
        Vst3Plugin plugin;
        ASSERT_TRUE(plugin.ok());
        FUnknown* identity = query<FUnknown>(plugin.component, kFUnknownIid);
        ASSERT_NE(identity, nullptr);
        FUnknown* views[] = {plugin.component, plugin.processor, plugin.controller};
        for (FUnknown* from : views)
            for (const Answer& a : answers) {
                void* found = &found;
                const tresult result = from->queryInterface(a.iid->data(), &found);
                if (!a.answered) {
                    EXPECT_EQ(result, kNoInterface) << a.name;
                    EXPECT_EQ(found, nullptr) << a.name;
                    continue;
                }
                ASSERT_EQ(result, kResultOk) << a.name;
                auto* object = static_cast<FUnknown*>(found);
                FUnknown* same = query<FUnknown>(object, kFUnknownIid);
                EXPECT_EQ(same, identity) << a.name;
                same->release();
                // The instance holds the test's three references, identity's and this one.
                EXPECT_EQ(object->addRef(), 6u) << a.name;
                EXPECT_EQ(object->release(), 5u) << a.name;
                EXPECT_EQ(object->release(), 4u) << a.name;
            }
        identity->release();
        // The host's objects: the context and the handler are held while the instance lives.
        EXPECT_GT(plugin.host.count.references.load(), 1);
    }
    // After terminate and the last release, every host reference is given back.
    Vst3Plugin other;
    other.controller->setComponentHandler(nullptr);
    other.component->terminate();
    EXPECT_EQ(other.host.count.references.load(), 1);
}

TEST(Vst3Module, BusesAreStereoInOutAndOneEventInput) {
    Vst3Plugin plugin(44100.0, 512, false);
    ASSERT_TRUE(plugin.ok());
    IComponent* c = plugin.component;
    struct Bus {
        MediaType type;
        BusDirection dir;
        int32 count;
        int32 channels;
    };
    for (const Bus& b : {Bus{kAudio, kInput, 1, 2}, Bus{kAudio, kOutput, 1, 2}, Bus{kEvent, kInput, 1, 1},
                         Bus{kEvent, kOutput, 0, 0}}) {
        ASSERT_EQ(c->getBusCount(b.type, b.dir), b.count);
        BusInfo info{};
        EXPECT_EQ(c->getBusInfo(b.type, b.dir, 0, info) == kResultOk, b.count == 1);
        if (b.count == 0) continue;
        EXPECT_EQ(info.channelCount, b.channels);
        EXPECT_EQ(info.busType, kMain);
        EXPECT_EQ(info.flags, kDefaultActive);
        EXPECT_NE(c->getBusInfo(b.type, b.dir, 1, info), kResultOk);
        EXPECT_NE(c->getBusInfo(b.type, b.dir, -1, info), kResultOk);
    }
    SpeakerArrangement stereo = kStereo, mono = 1 << 19;
    EXPECT_EQ(plugin.processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultTrue);
    EXPECT_EQ(plugin.processor->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
    EXPECT_EQ(plugin.processor->setBusArrangements(&stereo, 1, &mono, 1), kResultFalse);
    EXPECT_EQ(plugin.processor->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse);
    SpeakerArrangement got = 0;
    ASSERT_EQ(plugin.processor->getBusArrangement(kInput, 0, got), kResultOk);
    EXPECT_EQ(got, kStereo);
    EXPECT_EQ(plugin.processor->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(plugin.processor->canProcessSampleSize(kSample64), kResultFalse);
    EXPECT_EQ(plugin.processor->getLatencySamples(), 0u);
    // Set processing off and inactive on an instance never activated, as Ardour's scan does.
    EXPECT_EQ(plugin.processor->setProcessing(0), kResultOk);
    EXPECT_EQ(plugin.component->setActive(0), kResultOk);
}

}  // namespace
