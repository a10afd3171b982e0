#pragma once

#include "hostsdk/drawbot_suites.h"
#include "hostsdk/pf_custom_ui.h"
#include "hostsdk/pf_suites.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qvhost {

class test_host;

// One call of the custom-interface and drawing suites, as the effect made it.
struct drawing_call {
    std::string name;
    int image = 0; // the image's number (1 = first made), where one is involved
    float x = 0, y = 0, opacity = 0;
    A_long width = 0, height = 0, row_bytes = 0;
    A_long layout = -1;
};

// The host's drawing suites for the effect-controls panel: records every call and
// paints drawn images into a panel raster (opaque pixels copied, layout 3 only).
// Installs its suites into the test host while it lives. One at a time.
class drawing_recorder {
public:
    drawing_recorder(test_host& host, int panel_width, int panel_height);
    ~drawing_recorder();
    drawing_recorder(const drawing_recorder&) = delete;
    drawing_recorder& operator=(const drawing_recorder&) = delete;

    const std::vector<drawing_call>& calls() const { return recorded; }
    std::vector<drawing_call> calls_named(const std::string& name) const;
    void clear_calls() { recorded.clear(); }
    int live_images() const;
    int released_objects() const { return releases; }

    // The panel raster: 0x00RRGGBB, top row first, cleared to the given colour.
    std::uint32_t panel_pixel(int x, int y) const;
    void clear_panel(std::uint32_t colour);

    // The host hands out no drawing reference while this is false.
    bool give_drawing_reference = true;

    // An event record of the effect-controls panel for parameter `index`, the
    // control frame at `frame`, the title frame above it.
    static PF_EventExtra panel_event(PF_EventType type, PF_ParamIndex index, const PF_Rect& frame);

private:
    struct image_record {
        int number;
        A_long width, height;
        std::vector<std::uint8_t> bytes; // B, G, R, A rows
        bool released = false;
    };

    static PF_Err get_drawing_reference(PF_ContextH, DRAWBOT_DrawRef*);
    static SPErr get_supplier(DRAWBOT_DrawRef, DRAWBOT_SupplierRef*);
    static SPErr get_surface(DRAWBOT_DrawRef, DRAWBOT_SurfaceRef*);
    static SPErr new_image(DRAWBOT_SupplierRef, A_long, A_long, A_long, DRAWBOT_PixelLayout, const void*,
                           DRAWBOT_ImageRef*);
    static SPErr release_object(DRAWBOT_ObjectRef);
    static SPErr draw_image(DRAWBOT_SurfaceRef, DRAWBOT_ImageRef, const DRAWBOT_PointF32*, float);
    image_record* find(DRAWBOT_ImageRef image);

    test_host& host;
    PF_EffectCustomUISuite1 custom_ui{};
    DRAWBOT_DrawbotSuite1 draw_suite{};
    DRAWBOT_SupplierSuite1 supplier_suite{};
    DRAWBOT_SurfaceSuite2 surface_suite{};
    const void* replaced[4] = {};
    std::vector<drawing_call> recorded;
    std::vector<std::unique_ptr<image_record>> images;
    int releases = 0;
    int width, height;
    std::vector<std::uint32_t> panel;
};

} // namespace qvhost
