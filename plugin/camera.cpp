#include "plugin/camera.h"

#include "plugin/suite_handler.h"

#include <algorithm>

using qvsdk::mat4;

view_window output_window(const qvsdk::render_data& frame, float view_width, float view_height,
                          float downsample_x, float downsample_y)
{
    const float kx = downsample_x, ky = downsample_y;
    return view_window{
        static_cast<float>(frame.origin_x) * kx - view_width / 2,
        static_cast<float>(frame.origin_x + frame.output.width) * kx - view_width / 2,
        static_cast<float>(frame.origin_y) * ky - view_height / 2,
        static_cast<float>(frame.origin_y + frame.output.height) * ky - view_height / 2,
    };
}

mat4 perspective_projection(const view_window& window, float zoom)
{
    const float s = 0.01f / zoom;
    const float x0 = window.x0 * s, x1 = window.x1 * s, y0 = window.y0 * s, y1 = window.y1 * s;
    mat4 p{};
    // Column-major: element 4c + r.
    p[0] = 0.02f / (x1 - x0);
    p[8] = (x1 + x0) / (x1 - x0);
    p[5] = 0.02f / (y1 - y0);
    p[9] = (y1 + y0) / (y1 - y0);
    p[10] = -1.0f;
    p[14] = -0.01f;
    p[11] = -1.0f;
    return p;
}

mat4 orthographic_projection(const view_window& window)
{
    const float x0 = window.x0, x1 = window.x1, y0 = window.y0, y1 = window.y1;
    mat4 p{};
    p[0] = 2.0f / (x1 - x0);
    p[12] = -(x1 + x0) / (x1 - x0);
    p[5] = 2.0f / (y1 - y0);
    p[13] = -(y1 + y0) / (y1 - y0);
    p[10] = -0.000002f;
    p[14] = 0.00000002f;
    p[15] = 1.0f;
    return p;
}

mat4 view_from_camera(const A_Matrix4& camera, float pixel_aspect)
{
    // Row-vector doubles read in order are a column-major camera-to-world matrix.
    mat4 to_world{};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            to_world[row * 4 + column] = static_cast<float>(camera.mat[row][column]);
    mat4 view{};
    mat4::inverse(view, to_world);
    for (int i = 0; i < 4; ++i)
        view[i] *= 1.0f / pixel_aspect;
    for (int column = 0; column < 4; ++column)
        view[column * 4 + 2] = -view[column * 4 + 2];
    return view;
}

qvsdk::render_properties& build_camera(qvsdk::render_properties& camera,
                                       const command_context& context,
                                       const qvsdk::render_data& frame)
{
    const PF_InData& in_data = *context.in_data;
    camera.viewSize[0] = camera.viewSize[1] = 0;
    std::fill(std::begin(camera.eyePosition), std::end(camera.eyePosition), 0.0f);

    suite_handler suites(in_data.pica_basicP);
    const AEGP_PFInterfaceSuite1& pf = suites.get<AEGP_PFInterfaceSuite1>();
    A_Time comp_time{0, in_data.time_scale};
    pf.AEGP_ConvertEffectToCompTime(in_data.effect_ref, std::max<A_long>(in_data.current_time, 0),
                                    in_data.time_scale, &comp_time);

    AEGP_LayerH camera_layer = nullptr;
    pf.AEGP_GetEffectCamera(in_data.effect_ref, &comp_time, &camera_layer);
    A_Matrix4 matrix{};
    A_FpLong zoom = 0;
    A_short plane_width = 0, plane_height = 0;
    pf.AEGP_GetEffectCameraMatrix(in_data.effect_ref, &comp_time, &matrix, &zoom, &plane_width,
                                  &plane_height);
    AEGP_CameraType type = AEGP_CameraType_PERSPECTIVE;
    if (camera_layer)
        suites.get<AEGP_CameraSuite2>().AEGP_GetCameraType(camera_layer, &type);

    AEGP_LayerH layer = nullptr;
    pf.AEGP_GetEffectLayer(in_data.effect_ref, &layer);
    AEGP_CompH comp = nullptr;
    suites.get<AEGP_LayerSuite11>().AEGP_GetLayerParentComp(layer, &comp);
    AEGP_ItemH item = nullptr;
    suites.get<AEGP_CompSuite11>().AEGP_GetItemFromComp(comp, &item);
    A_Ratio comp_aspect{1, 1};
    suites.get<AEGP_ItemSuite10>().AEGP_GetItemPixelAspectRatio(item, &comp_aspect);
    const float p = static_cast<float>(comp_aspect.num) / static_cast<float>(comp_aspect.den);

    camera.viewMatrix = view_from_camera(matrix, p);

    float f = static_cast<float>(in_data.pixel_aspect_ratio.num) /
              static_cast<float>(in_data.pixel_aspect_ratio.den);
    if (!camera_layer)
        f /= p;
    const float w = static_cast<float>(plane_width) * f;
    const float h = static_cast<float>(plane_height);
    camera.viewSize[0] = w;
    camera.viewSize[1] = h;

    const view_window window =
        output_window(frame, w, h, frame.inverse_downsample_x, frame.inverse_downsample_y);
    camera.projMatrix = type == AEGP_CameraType_ORTHOGRAPHIC
                            ? orthographic_projection(window)
                            : perspective_projection(window, static_cast<float>(zoom));
    camera.eyePosition[0] = static_cast<float>(matrix.mat[3][0]);
    camera.eyePosition[1] = static_cast<float>(matrix.mat[3][1]);
    camera.eyePosition[2] = static_cast<float>(matrix.mat[3][2]);
    return camera;
}
