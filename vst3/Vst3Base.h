// The VST 3 binary interface's foundations, declared by us: scalar types, result codes, the
// calling convention, the 16-byte IDs and FUnknown. Every interface is a class of pure virtual
// methods in the published slot order, without a virtual destructor.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#define V3CALL __stdcall
#else
#define V3CALL
#endif

namespace v3 {

using int8 = char;
using uint8 = uint8_t;
using int16 = int16_t;
using uint16 = uint16_t;
using int32 = int32_t;
using uint32 = uint32_t;
using int64 = int64_t;
using uint64 = uint64_t;
using tresult = int32_t;
using TBool = uint8_t;
using char8 = char;
using char16 = char16_t;
using TChar = char16_t;
using String128 = TChar[128];
using FIDString = const char8*;
using CString = const char8*;
using TUID = char[16];
using ParamID = uint32;
using ParamValue = double;
using TQuarterNotes = double;
using TSamples = int64;
using SampleRate = double;
using SpeakerArrangement = uint64;
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using UnitID = int32;
using ProgramListID = int32;
using CtrlNumber = int16;

static_assert(sizeof(TBool) == 1 && sizeof(TChar) == 2 && sizeof(String128) == 256 && sizeof(TUID) == 16);
static_assert(sizeof(ParamValue) == 8 && sizeof(TSamples) == 8 && sizeof(SpeakerArrangement) == 8);

// Windows uses COM's codes; everything else small numbers.
#if defined(_WIN32)
constexpr tresult kResultOk = 0;
constexpr tresult kResultFalse = 1;
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
constexpr tresult kResultOk = 0;
constexpr tresult kResultFalse = 1;
constexpr tresult kNoInterface = -1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif
constexpr tresult kResultTrue = kResultOk;

// An ID's 16 bytes from its four words: Windows stores the first two words as a GUID does
// (little-endian l1, then the halves of l2 little-endian), everything else all big-endian.
struct Uid {
    unsigned char bytes[16];

    constexpr Uid(uint32_t l1, uint32_t l2, uint32_t l3, uint32_t l4) : bytes{} {
#if defined(_WIN32)
        bytes[0] = static_cast<unsigned char>(l1);
        bytes[1] = static_cast<unsigned char>(l1 >> 8);
        bytes[2] = static_cast<unsigned char>(l1 >> 16);
        bytes[3] = static_cast<unsigned char>(l1 >> 24);
        bytes[4] = static_cast<unsigned char>(l2 >> 16);
        bytes[5] = static_cast<unsigned char>(l2 >> 24);
        bytes[6] = static_cast<unsigned char>(l2);
        bytes[7] = static_cast<unsigned char>(l2 >> 8);
#else
        for (int i = 0; i < 4; ++i) {
            bytes[i] = static_cast<unsigned char>(l1 >> (24 - 8 * i));
            bytes[4 + i] = static_cast<unsigned char>(l2 >> (24 - 8 * i));
        }
#endif
        for (int i = 0; i < 4; ++i) {
            bytes[8 + i] = static_cast<unsigned char>(l3 >> (24 - 8 * i));
            bytes[12 + i] = static_cast<unsigned char>(l4 >> (24 - 8 * i));
        }
    }
    const char* data() const { return reinterpret_cast<const char*>(bytes); }
    bool is(const void* other) const { return other && std::memcmp(bytes, other, 16) == 0; }
};

// Interfaces have no virtual destructor (it would add slots to the vtable): objects delete
// themselves in release, so the destructors are protected and plain.
class FUnknown {
protected:
    ~FUnknown() = default;

public:
    virtual tresult V3CALL queryInterface(const TUID iid, void** obj) = 0;
    virtual uint32 V3CALL addRef() = 0;
    virtual uint32 V3CALL release() = 0;
};
inline constexpr Uid kFUnknownIid{0x00000000, 0x00000000, 0xC0000000, 0x00000046};

}  // namespace v3
