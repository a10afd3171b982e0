#pragma once

// The host's drawing suites as the effect-controls header uses them.

#include "hostsdk/pf_suites.h"

struct DRAWBOT_SupplierRefRecord;
struct DRAWBOT_SurfaceRefRecord;
struct DRAWBOT_ImageRefRecord;
typedef DRAWBOT_SupplierRefRecord* DRAWBOT_SupplierRef;
typedef DRAWBOT_SurfaceRefRecord* DRAWBOT_SurfaceRef;
typedef DRAWBOT_ImageRefRecord* DRAWBOT_ImageRef;
typedef void* DRAWBOT_ObjectRef;

struct DRAWBOT_PointF32 {
    float x, y;
};

// Pixel layouts of an image buffer: the header passes 3.
enum DRAWBOT_PixelLayout : A_long {
    kDRAWBOT_PixelLayout_24RGB = 0,  // chosen
    kDRAWBOT_PixelLayout_24BGR = 1,  // chosen
    kDRAWBOT_PixelLayout_32RGB = 2,  // chosen
    kDRAWBOT_PixelLayout_32BGR = 3,  // B, G, R, A bytes, as WIC decodes
};

#define kDRAWBOT_DrawSuite "DRAWBOT Draw Suite"
#define kDRAWBOT_DrawSuite_Version1 1
struct DRAWBOT_DrawbotSuite1 {
    SPErr (*GetSupplier)(DRAWBOT_DrawRef draw_ref, DRAWBOT_SupplierRef* supplier);
    SPErr (*GetSurface)(DRAWBOT_DrawRef draw_ref, DRAWBOT_SurfaceRef* surface);
};

#define kDRAWBOT_SupplierSuite "DRAWBOT Supplier Suite"
#define kDRAWBOT_SupplierSuite_Version1 1
struct DRAWBOT_SupplierSuite1 {
    SPErr (*NewImageFromBuffer)(DRAWBOT_SupplierRef supplier, A_long width, A_long height,
                                A_long row_bytes, DRAWBOT_PixelLayout layout, const void* data,
                                DRAWBOT_ImageRef* image);
    SPErr (*ReleaseObject)(DRAWBOT_ObjectRef object);
};

#define kDRAWBOT_SurfaceSuite "DRAWBOT Surface Suite"
#define kDRAWBOT_SurfaceSuite_Version2 2
struct DRAWBOT_SurfaceSuite2 {
    SPErr (*DrawImage)(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef image,
                       const DRAWBOT_PointF32* origin, float opacity);
};
