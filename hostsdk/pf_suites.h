#pragma once

// The host's PF suites as the effect uses them; only the functions it calls.

#include "hostsdk/pf_custom_ui.h"
#include "hostsdk/pf_effect.h"

struct DRAWBOT_DrawRefRecord;
typedef DRAWBOT_DrawRefRecord* DRAWBOT_DrawRef;

#define kPFAppSuite "PF AE App Suite"
#define kPFAppSuiteVersion6 6
struct PF_AppSuite6 {
    PF_Err (*PF_IsRenderEngine)(PF_Boolean* render_engine);
};

// The host's opaque state of a parameter over a time span.
struct PF_State {
    A_long reserved[4];
};

#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion3 3
struct PF_ParamUtilsSuite3 {
    PF_Err (*PF_GetCurrentState)(PF_ProgPtr effect_ref, PF_ParamIndex index,
                                 const A_Time* start, const A_Time* duration, PF_State* state);
    PF_Err (*PF_AreStatesIdentical)(PF_ProgPtr effect_ref, const PF_State* state1,
                                    const PF_State* state2, A_Boolean* same);
};

#define kPFEffectCustomUISuite "PF Effect Custom UI Suite"
#define kPFEffectCustomUISuiteVersion1 1
struct PF_EffectCustomUISuite1 {
    PF_Err (*PF_GetDrawingReference)(PF_ContextH context, DRAWBOT_DrawRef* draw_ref);
};
