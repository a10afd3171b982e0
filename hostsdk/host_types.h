#pragma once

// Basic types of the host's plug-in interface, as our effect and test host use them.
// Sizes follow the host's 64-bit Windows build; values without a documented number
// are chosen here and marked so.

#include <cstdint>

typedef char A_char;
typedef std::int8_t A_Boolean;
typedef std::int16_t A_short;
typedef std::uint16_t A_u_short;
typedef std::int32_t A_long;
typedef std::uint32_t A_u_long;
typedef std::int64_t A_HandleSize;
typedef double A_FpLong;
typedef float A_FpShort;
typedef std::uint8_t A_u_char;

typedef A_long PF_Err;
typedef A_Boolean PF_Boolean;
typedef A_long PF_ParamIndex;
typedef A_long PF_Fixed; // 16.16 fixed point
typedef A_long A_Err;
typedef A_long AEGP_PluginID;
typedef std::int32_t SPErr;

// A host handle: a pointer to the pointer of a movable block.
typedef void** PF_Handle;

// Opaque reference of one effect instance, passed back on every callback.
struct PF_ProgressInfo;
typedef PF_ProgressInfo* PF_ProgPtr;

// Error codes. 512 and 517 are the host's numbers; the rest are chosen here.
enum : PF_Err {
    PF_Err_NONE = 0,
    PF_Err_OUT_OF_MEMORY = 4,
    PF_Err_INTERNAL_STRUCT_DAMAGED = 512,
    PF_Err_INVALID_INDEX = 513,     // chosen
    PF_Err_UNRECOGNIZED_PARAM_TYPE = 514, // chosen
    PF_Err_INVALID_CALLBACK = 515,  // chosen
    PF_Err_BAD_CALLBACK_PARAM = 516, // chosen
    PF_Interrupt_CANCEL = 517,
};

// Error of the basic suite when it has no such suite; chosen here.
constexpr SPErr kSPNoError = 0;
constexpr SPErr kSPSuiteNotFoundError = 0x53214e46; // chosen

struct PF_Point {
    A_long h, v;
};

struct PF_LRect {
    A_long left, top, right, bottom;
};
typedef PF_LRect PF_Rect;

struct PF_RationalScale {
    A_long num;
    A_u_long den;
};

struct A_Ratio {
    A_long num;
    A_u_long den;
};

struct A_Time {
    A_long value;
    A_u_long scale;
};

struct A_FloatPoint {
    A_FpLong x, y;
};

// 4 x 4 doubles, row-vector convention: translation in the last row.
struct A_Matrix4 {
    A_FpLong mat[4][4];
};

// One 8-bit pixel in the host's channel order.
struct PF_Pixel {
    A_u_char alpha, red, green, blue;
};
typedef PF_Pixel PF_Pixel8;
