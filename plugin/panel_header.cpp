#include "plugin/panel_header.h"

#include "embedded/effect_banner.h"
#include "hostsdk/drawbot_suites.h"
#include "hostsdk/pf_custom_ui.h"
#include "hostsdk/pf_suites.h"
#include "plugin/ae_plugin_connection.h"
#include "plugin/effect_parameters.h"
#include "plugin/parameter_ids.h"
#include "plugin/product_link.h"
#include "plugin/suite_handler.h"
#include "toolkit/image.h"

#include <cstring>

namespace {

constexpr A_long link_left = 150;
constexpr A_long link_right = 280;
constexpr A_long link_top = 20;
constexpr A_long link_bottom = 64;

bool is_header(PF_ParamIndex index)
{
    const std::vector<std::uint32_t>& ids = index_to_id();
    return index >= 0 && static_cast<std::size_t>(index) < ids.size() &&
           ids[static_cast<std::size_t>(index)] == static_cast<std::uint32_t>(param_id::header);
}

bool over_link(const PF_EventExtra& extra, PF_Point point)
{
    return over_header_link(point.h - extra.effect_win.current_frame.left,
                            point.v - extra.effect_win.current_frame.top);
}

void decode_banner(AePluginConnection& plugin)
{
    const qvsdk::embedded_file png = qvsdk::effect_images::banner();
    qvsdk::ui::image decoded;
    if (!decoded.load(png.data, png.size, 1.0f))
        return;
    const float scale = decoded.scale();
    plugin.banner_width = static_cast<std::uint32_t>(decoded.pixel_size().width / scale);
    plugin.banner_state_height = static_cast<std::uint32_t>(decoded.pixel_size().height / scale) / 2;
    const qvsdk::ui::pixel_access pixels = decoded.lock_pixels();
    const std::size_t bytes = std::size_t(pixels.stride) * std::size_t(pixels.pixels.height);
    if (pixels.data && bytes > 0) {
        plugin.banner_pixels.reset(new std::uint8_t[bytes]);
        std::memcpy(plugin.banner_pixels.get(), pixels.data, bytes);
    }
    decoded.unlock_pixels(pixels);
}

void draw(AePluginConnection& plugin, command_context& context, PF_EventExtra& extra)
{
    if (extra.evt_in_flags & PF_EI_DONT_DRAW)
        return;
    suite_handler suites(context.in_data->pica_basicP);
    DRAWBOT_DrawRef draw_ref = nullptr;
    suites.get<PF_EffectCustomUISuite1>().PF_GetDrawingReference(extra.contextH, &draw_ref);
    if (!draw_ref)
        return;
    DRAWBOT_SupplierRef supplier = nullptr;
    DRAWBOT_SurfaceRef surface = nullptr;
    suites.get<DRAWBOT_DrawbotSuite1>().GetSupplier(draw_ref, &supplier);
    suites.get<DRAWBOT_DrawbotSuite1>().GetSurface(draw_ref, &surface);
    if (!is_header(extra.effect_win.index))
        return;

    if (!plugin.banner_pixels)
        decode_banner(plugin);
    const bool hover = plugin.banner_hover;
    DRAWBOT_ImageRef& image = hover ? plugin.banner_image_hover : plugin.banner_image_normal;
    if (!image) {
        if (!plugin.banner_pixels)
            return;
        const std::size_t state_bytes =
            std::size_t(plugin.banner_width) * plugin.banner_state_height * 4;
        const std::uint8_t* pixels = plugin.banner_pixels.get() + (hover ? state_bytes : 0);
        suites.get<DRAWBOT_SupplierSuite1>().NewImageFromBuffer(
            supplier, A_long(plugin.banner_width), A_long(plugin.banner_state_height),
            A_long(plugin.banner_width * 4), kDRAWBOT_PixelLayout_32BGR, pixels, &image);
        if (!image)
            return;
    }
    const DRAWBOT_PointF32 origin{float(extra.effect_win.current_frame.left),
                                  float(extra.effect_win.current_frame.top)};
    suites.get<DRAWBOT_SurfaceSuite2>().DrawImage(surface, image, &origin, 1.0f);
}

void adjust_cursor(AePluginConnection& plugin, PF_EventExtra& extra)
{
    PF_AdjustCursorEventInfo& cursor = extra.u.adjust_cursor;
    plugin.banner_hover = is_header(extra.effect_win.index) && over_link(extra, cursor.screen_point);
    if (extra.effect_win.area == PF_EA_CONTROL)
        cursor.set_cursor = plugin.banner_hover ? PF_Cursor_FINGER_POINTER : PF_Cursor_ARROW;
    else
        cursor.set_cursor = PF_Cursor_ARROW;
}

void click(PF_EventExtra& extra)
{
    PF_DoClickEventInfo& click = extra.u.do_click;
    if (click.screen_point.v > extra.effect_win.param_title_frame.bottom &&
        is_header(extra.effect_win.index) && over_link(extra, click.screen_point)) {
        open_in_shell(product_page_url(product_version_text()));
        click.send_drag = 1;
        click.continue_refcon[0] = 1;
    }
}

void drag(PF_EventExtra& extra)
{
    PF_DoClickEventInfo& click = extra.u.do_click;
    if (click.continue_refcon[0] == 1) {
        click.send_drag = 0;
        click.continue_refcon[0] = 0;
    }
}

} // namespace

bool over_header_link(A_long x, A_long y)
{
    return x >= link_left && x <= link_right && y >= link_top && y <= link_bottom;
}

void handle_panel_header_event(AePluginConnection& plugin, command_context& context)
{
    auto* extra = static_cast<PF_EventExtra*>(context.extra);
    if (!extra)
        return;
    switch (extra->e_type) {
    case PF_Event_DRAW:
        draw(plugin, context, *extra);
        extra->evt_out_flags = PF_EO_HANDLED_EVENT;
        break;
    case PF_Event_ADJUST_CURSOR:
        adjust_cursor(plugin, *extra);
        extra->evt_out_flags = PF_EO_HANDLED_EVENT;
        break;
    case PF_Event_DO_CLICK:
        click(*extra);
        extra->evt_out_flags = PF_EO_HANDLED_EVENT;
        break;
    case PF_Event_DRAG:
        drag(*extra);
        extra->evt_out_flags = PF_EO_HANDLED_EVENT | PF_EO_ALWAYS_UPDATE;
        break;
    default:
        break;
    }
}
