#pragma once

// Custom interface of a parameter: registration and the event command's extra record.

#include "hostsdk/pf_effect.h"

// Where custom events are wanted; the effect-controls panel is 4.
enum : A_long {
    PF_CustomEFlag_NONE = 0,
    PF_CustomEFlag_COMP = 1,  // chosen
    PF_CustomEFlag_LAYER = 2, // chosen
    PF_CustomEFlag_EFFECT = 4,
};

struct PF_CustomUIInfo {
    A_long events;
    A_long comp_ui_width;
    A_long comp_ui_height;
    A_long comp_ui_alignment;
    A_long layer_ui_width;
    A_long layer_ui_height;
    A_long layer_ui_alignment;
    A_long preview_ui_width;
    A_long preview_ui_height;
    A_long preview_ui_alignment;
};

// Event kinds; the numbers are chosen here.
enum PF_EventType : A_long {
    PF_Event_NEW_CONTEXT = 0,
    PF_Event_ACTIVATE = 1,
    PF_Event_DO_CLICK = 2,
    PF_Event_DRAG = 3,
    PF_Event_DRAW = 4,
    PF_Event_DEACTIVATE = 5,
    PF_Event_CLOSE_CONTEXT = 6,
    PF_Event_IDLE = 7,
    PF_Event_ADJUST_CURSOR = 8,
    PF_Event_KEYDOWN = 9,
    PF_Event_MOUSE_EXITED = 10,
};

// Areas of a parameter's row; the numbers are chosen here.
enum PF_EventArea : A_long {
    PF_EA_NONE = 0,
    PF_EA_PARAM_TITLE = 1,
    PF_EA_CONTROL = 2,
};

// Input flags of an event; chosen here.
enum : A_long {
    PF_EI_NONE = 0,
    PF_EI_DONT_DRAW = 1,
};

// Output flags of an event; chosen here.
enum : A_long {
    PF_EO_NONE = 0,
    PF_EO_HANDLED_EVENT = 1,
    PF_EO_ALWAYS_UPDATE = 2,
    PF_EO_NEVER_UPDATE = 4,
    PF_EO_UPDATE_NOW = 8,
};

// Cursors the effect sets: the host's numbers.
enum PF_CursorType : A_long {
    PF_Cursor_NONE = 0,
    PF_Cursor_ARROW = 2,
    PF_Cursor_FINGER_POINTER = 23,
};

enum PF_WindowType : A_long {
    PF_Window_NONE = -1,
    PF_Window_COMP = 0,
    PF_Window_LAYER = 1,
    PF_Window_EFFECT = 2,
};

// The drawing context of a custom interface; opaque to the effect.
struct PF_ContextRecord {
    A_u_long magic;
    PF_WindowType w_type;
    void* host_data;
};
typedef PF_ContextRecord* PF_ContextH;

struct PF_DoClickEventInfo {
    A_u_long when;
    PF_Point screen_point;
    A_long num_clicks;
    PF_Boolean send_drag;
    A_char reserved[3];
    A_long continue_refcon[4];
};

struct PF_DrawEventInfo {
    PF_Rect update_rect;
    A_long depth;
};

struct PF_AdjustCursorEventInfo {
    PF_Point screen_point;
    A_long modifiers;
    PF_CursorType set_cursor;
};

union PF_EventUnion {
    PF_DoClickEventInfo do_click;
    PF_DrawEventInfo draw;
    PF_AdjustCursorEventInfo adjust_cursor;
};

// Where in the effect-controls panel the event happened.
struct PF_EffectWindowInfo {
    PF_ParamIndex index;
    PF_EventArea area;
    PF_Rect current_frame;     // the control's frame
    PF_Rect param_title_frame;
    A_long horiz_offset;
};

struct PF_EventExtra {
    PF_ContextH contextH;
    PF_EventType e_type;
    PF_EventUnion u;
    PF_EffectWindowInfo effect_win;
    A_long evt_in_flags;
    A_long evt_out_flags;
};
