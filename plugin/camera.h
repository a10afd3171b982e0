#pragma once

#include "hostsdk/aegp_suites.h"
#include "plugin/command_context.h"
#include "plugin/render_data.h"
#include "plugin/render_properties.h"

// The part of the composition, in pixels centred on the image plane, that the
// output buffer shows; each axis scaled by its own inverse downsample factor.
struct view_window {
    float x0, x1, y0, y1;
};

view_window output_window(const qvsdk::render_data& frame, float view_width, float view_height,
                          float downsample_x, float downsample_y);

// Projection without a far plane (near plane at 0.01), and the orthographic one.
qvsdk::mat4 perspective_projection(const view_window& window, float zoom);
qvsdk::mat4 orthographic_projection(const view_window& window);

// World to view from the host's camera-to-world matrix (row-vector convention)
// and the composition's pixel aspect.
qvsdk::mat4 view_from_camera(const A_Matrix4& camera, float pixel_aspect);

// The composition's camera (or the host's default one) at the current time.
qvsdk::render_properties& build_camera(qvsdk::render_properties& camera,
                                       const command_context& context,
                                       const qvsdk::render_data& frame);
