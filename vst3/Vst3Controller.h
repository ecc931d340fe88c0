// The VST 3 controller side, declared by us: IEditController and its parameter record,
// IUnitInfo for the program list, the host's component handler.
#pragma once

#include <cstddef>

#include "vst3/Vst3Processing.h"

namespace v3 {

class IPlugView;

struct ParameterInfo {
    ParamID id;
    String128 title;
    String128 shortTitle;
    String128 units;
    int32 stepCount;
    ParamValue defaultNormalizedValue;
    UnitID unitId;
    int32 flags;
};
static_assert(sizeof(ParameterInfo) == 792 && alignof(ParameterInfo) == 8);
static_assert(offsetof(ParameterInfo, title) == 4 && offsetof(ParameterInfo, shortTitle) == 260 &&
              offsetof(ParameterInfo, units) == 516 && offsetof(ParameterInfo, stepCount) == 772 &&
              offsetof(ParameterInfo, defaultNormalizedValue) == 776 && offsetof(ParameterInfo, unitId) == 784 &&
              offsetof(ParameterInfo, flags) == 788);
constexpr int32 kCanAutomate = 1, kIsReadOnly = 2, kIsList = 8, kIsHidden = 16, kIsProgramChange = 0x8000,
                kIsBypass = 0x10000;

class IComponentHandler : public FUnknown {
protected:
    ~IComponentHandler() = default;

public:
    virtual tresult V3CALL beginEdit(ParamID id) = 0;
    virtual tresult V3CALL performEdit(ParamID id, ParamValue valueNormalized) = 0;
    virtual tresult V3CALL endEdit(ParamID id) = 0;
    virtual tresult V3CALL restartComponent(int32 flags) = 0;
};
inline constexpr Uid kIComponentHandlerIid{0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6};
constexpr int32 kParamValuesChanged = 4;

class IEditController : public IPluginBase {
protected:
    ~IEditController() = default;

public:
    virtual tresult V3CALL setComponentState(IBStream* state) = 0;
    virtual tresult V3CALL setState(IBStream* state) = 0;
    virtual tresult V3CALL getState(IBStream* state) = 0;
    virtual int32 V3CALL getParameterCount() = 0;
    virtual tresult V3CALL getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
    virtual tresult V3CALL getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) = 0;
    virtual tresult V3CALL getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) = 0;
    virtual ParamValue V3CALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
    virtual ParamValue V3CALL plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
    virtual ParamValue V3CALL getParamNormalized(ParamID id) = 0;
    virtual tresult V3CALL setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult V3CALL setComponentHandler(IComponentHandler* handler) = 0;
    virtual IPlugView* V3CALL createView(FIDString name) = 0;
};
inline constexpr Uid kIEditControllerIid{0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E};

struct UnitInfo {
    UnitID id;
    UnitID parentUnitId;
    String128 name;
    ProgramListID programListId;
};
static_assert(sizeof(UnitInfo) == 268 && alignof(UnitInfo) == 4);
static_assert(offsetof(UnitInfo, parentUnitId) == 4 && offsetof(UnitInfo, name) == 8 &&
              offsetof(UnitInfo, programListId) == 264);

struct ProgramListInfo {
    ProgramListID id;
    String128 name;
    int32 programCount;
};
static_assert(sizeof(ProgramListInfo) == 264 && alignof(ProgramListInfo) == 4);
static_assert(offsetof(ProgramListInfo, name) == 4 && offsetof(ProgramListInfo, programCount) == 260);
constexpr UnitID kRootUnitId = 0, kNoParentUnitId = -1;

class IUnitInfo : public FUnknown {
protected:
    ~IUnitInfo() = default;

public:
    virtual int32 V3CALL getUnitCount() = 0;
    virtual tresult V3CALL getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
    virtual int32 V3CALL getProgramListCount() = 0;
    virtual tresult V3CALL getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
    virtual tresult V3CALL getProgramName(ProgramListID listId, int32 programIndex, String128 name) = 0;
    virtual tresult V3CALL getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                          String128 attributeValue) = 0;
    virtual tresult V3CALL hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
    virtual tresult V3CALL getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                               String128 name) = 0;
    virtual UnitID V3CALL getSelectedUnit() = 0;
    virtual tresult V3CALL selectUnit(UnitID unitId) = 0;
    virtual tresult V3CALL getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                        UnitID& unitId) = 0;
    virtual tresult V3CALL setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) = 0;
};
inline constexpr Uid kIUnitInfoIid{0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1};

}  // namespace v3
