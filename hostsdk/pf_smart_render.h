#pragma once

// The extra records of the smart pre-render and smart render commands.

#include "hostsdk/pf_effect.h"

enum PF_Field : A_long {
    PF_Field_FRAME = 0,
    PF_Field_UPPER = 1,
    PF_Field_LOWER = 2,
};

// Channel mask bits; all four together are 15.
enum : A_long {
    PF_ChannelMask_ALPHA = 0x1,
    PF_ChannelMask_RED = 0x2,
    PF_ChannelMask_GREEN = 0x4,
    PF_ChannelMask_BLUE = 0x8,
    PF_ChannelMask_ARGB = 0xf,
};

struct PF_RenderRequest {
    PF_LRect rect;
    PF_Field field;
    A_long channel_mask;
    PF_Boolean preserve_rgb_of_zero_alpha;
    A_char unused[3];
    A_long reserved[4];
};

struct PF_CheckoutResult {
    PF_LRect result_rect;
    PF_LRect max_result_rect;
    PF_RationalScale par;
    A_long solid;
    A_long ref_width;
    A_long ref_height;
    A_long reserved[6];
};

struct PF_PreRenderInput {
    PF_RenderRequest output_request;
    A_short bitdepth;
    A_short unused;
    void* gpu_data;
};

struct PF_PreRenderOutput {
    PF_LRect result_rect;
    PF_LRect max_result_rect;
    PF_Boolean solid;
    A_char reserved[3];
    A_long flags;
    void* pre_render_data;
    void (*delete_pre_render_data_func)(void* data);
};

struct PF_PreRenderCallbacks {
    PF_Err (*checkout_layer)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_id,
                             const PF_RenderRequest* request, A_long what_time,
                             A_long time_step, A_u_long time_scale,
                             PF_CheckoutResult* result);
};

struct PF_PreRenderExtra {
    PF_PreRenderInput* input;
    PF_PreRenderOutput* output;
    PF_PreRenderCallbacks* cb;
};

struct PF_SmartRenderInput {
    PF_RenderRequest output_request;
    A_short bitdepth; // 8, 16 or 32 bits a channel
    A_short unused;
    void* pre_render_data;
    void* gpu_data;
};

struct PF_SmartRenderCallbacks {
    PF_Err (*checkout_layer_pixels)(PF_ProgPtr effect_ref, A_long checkout_id,
                                    PF_EffectWorld** pixels);
    PF_Err (*checkin_layer_pixels)(PF_ProgPtr effect_ref, A_long checkout_id);
    PF_Err (*checkout_output)(PF_ProgPtr effect_ref, PF_EffectWorld** output);
};

struct PF_SmartRenderExtra {
    PF_SmartRenderInput* input;
    PF_SmartRenderCallbacks* cb;
};
