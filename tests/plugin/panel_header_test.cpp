// The header in the effect-controls panel, through the test host's drawing suites.
#include "hostsdk/pf_custom_ui.h"
#include "plugin/ae_plugin_connection.h"
#include "plugin/panel_header.h"
#include "plugin/product_link.h"
#include "tools/qvhost/debug_output.h"
#include "tools/qvhost/drawing_recorder.h"
#include "tools/qvhost/test_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

extern "C" PF_Err PluginMain(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, void*);

namespace {

constexpr PF_ParamIndex header_index = 1;
// The control's frame in the panel; the banner is drawn at its corner.
constexpr PF_Rect frame{12, 40, 12 + 558, 40 + 84};

std::vector<std::string> opened_pages;
void record_page(const std::string& address)
{
    opened_pages.push_back(address);
}

class PanelHeader : public ::testing::Test {
protected:
    void SetUp() override
    {
        opened_pages.clear();
        set_shell_opener(record_page);
        host = std::make_unique<qvhost::test_host>(PluginMain);
        drawing = std::make_unique<qvhost::drawing_recorder>(*host, 600, 140);
        ASSERT_EQ(host->global_setup(), PF_Err_NONE);
        ASSERT_EQ(host->params_setup(), PF_Err_NONE);
    }
    void TearDown() override
    {
        if (host->global_data())
            host->global_setdown();
        drawing.reset();
        host.reset();
        set_shell_opener(nullptr);
    }

    PF_EventExtra send(PF_EventType type, PF_ParamIndex index = header_index, PF_Point at = {0, 0},
                       PF_EventArea area = PF_EA_CONTROL)
    {
        PF_EventExtra extra = qvhost::drawing_recorder::panel_event(type, index, frame);
        extra.effect_win.area = area;
        if (type == PF_Event_ADJUST_CURSOR)
            extra.u.adjust_cursor.screen_point = at;
        if (type == PF_Event_DO_CLICK)
            extra.u.do_click.screen_point = at;
        last_err = host->send(PF_Cmd_EVENT, &extra);
        return extra;
    }
    // A point relative to the control frame's corner.
    static PF_Point in_frame(A_long x, A_long y) { return {frame.left + x, frame.top + y}; }

    std::unique_ptr<qvhost::test_host> host;
    std::unique_ptr<qvhost::drawing_recorder> drawing;
    PF_Err last_err = PF_Err_NONE;
};

TEST(HeaderLink, BothEdgesOfTheLinkRectangleCount)
{
    EXPECT_TRUE(over_header_link(150, 20));
    EXPECT_TRUE(over_header_link(280, 64));
    EXPECT_FALSE(over_header_link(149, 20));
    EXPECT_FALSE(over_header_link(281, 64));
    EXPECT_FALSE(over_header_link(150, 19));
    EXPECT_FALSE(over_header_link(280, 65));
}

TEST_F(PanelHeader, DrawPlacesTheNormalBannerAtTheControlCorner)
{
    const PF_EventExtra extra = send(PF_Event_DRAW);
    EXPECT_EQ(last_err, PF_Err_NONE);
    EXPECT_EQ(extra.evt_out_flags, PF_EO_HANDLED_EVENT);

    const std::vector<qvhost::drawing_call> made = drawing->calls_named("NewImageFromBuffer");
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].width, 559);
    EXPECT_EQ(made[0].height, 84);
    EXPECT_EQ(made[0].row_bytes, 559 * 4);
    EXPECT_EQ(made[0].layout, kDRAWBOT_PixelLayout_32BGR);
    const std::vector<qvhost::drawing_call> drawn = drawing->calls_named("DrawImage");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].image, made[0].image);
    EXPECT_FLOAT_EQ(drawn[0].x, float(frame.left));
    EXPECT_FLOAT_EQ(drawn[0].y, float(frame.top));
    EXPECT_FLOAT_EQ(drawn[0].opacity, 1.0f);
    EXPECT_EQ(host->outstanding_suites(), 0);

    // The banner covers the frame; the link plate shows its normal blue.
    EXPECT_NE(drawing->panel_pixel(frame.left + 5, frame.top + 5), 0u);
    EXPECT_EQ(drawing->panel_pixel(frame.left + 5, frame.top + 84), 0u);
    EXPECT_EQ(drawing->panel_pixel(frame.left + 200, frame.top + 25), 0x2d8ceb);
}

TEST_F(PanelHeader, HoverOverTheLinkShowsTheLowerHalfAndTheFinger)
{
    send(PF_Event_DRAW);
    const std::uint32_t normal = drawing->panel_pixel(frame.left + 200, frame.top + 25);

    PF_EventExtra cursor = send(PF_Event_ADJUST_CURSOR, header_index, in_frame(150, 20));
    EXPECT_EQ(cursor.u.adjust_cursor.set_cursor, PF_Cursor_FINGER_POINTER);
    EXPECT_EQ(cursor.evt_out_flags, PF_EO_HANDLED_EVENT);
    send(PF_Event_DRAW);
    const std::uint32_t hovered = drawing->panel_pixel(frame.left + 200, frame.top + 25);
    EXPECT_NE(hovered, normal);
    EXPECT_EQ(drawing->calls_named("NewImageFromBuffer").size(), 2u);

    cursor = send(PF_Event_ADJUST_CURSOR, header_index, in_frame(149, 20));
    EXPECT_EQ(cursor.u.adjust_cursor.set_cursor, PF_Cursor_ARROW);
    send(PF_Event_DRAW);
    EXPECT_EQ(drawing->panel_pixel(frame.left + 200, frame.top + 25), normal);
    // Both states are kept: no further images are made.
    EXPECT_EQ(drawing->calls_named("NewImageFromBuffer").size(), 2u);
    EXPECT_EQ(drawing->calls_named("DrawImage").size(), 3u);

    // Over the link but outside the control area: the arrow.
    cursor = send(PF_Event_ADJUST_CURSOR, header_index, in_frame(280, 64), PF_EA_PARAM_TITLE);
    EXPECT_EQ(cursor.u.adjust_cursor.set_cursor, PF_Cursor_ARROW);
    // Another parameter never hovers the banner.
    send(PF_Event_ADJUST_CURSOR, 2, in_frame(200, 30));
    send(PF_Event_DRAW);
    EXPECT_EQ(drawing->panel_pixel(frame.left + 200, frame.top + 25), normal);

    // Set-down releases both images.
    ASSERT_EQ(host->global_setdown(), PF_Err_NONE);
    EXPECT_EQ(drawing->live_images(), 0);
    EXPECT_EQ(drawing->released_objects(), 2);
}

TEST_F(PanelHeader, SetDownThatCannotReleaseTheImagesStillStopsTheRenderer)
{
    send(PF_Event_DRAW);
    ASSERT_EQ(drawing->live_images(), 1);
    auto* plugin = static_cast<AePluginConnection*>(*static_cast<AePlugin**>(*host->global_data()));
    ASSERT_TRUE(plugin->renderer_proxy != nullptr);

    host->refuse_suite(kDRAWBOT_SupplierSuite, 1);
    {
        qvhost::debug_output output;
        EXPECT_EQ(host->global_setdown(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    }
    // The host may unload the module now: no render thread may be left running.
    EXPECT_TRUE(plugin->renderer_proxy == nullptr);
    EXPECT_EQ(host->outstanding_suites(), 0);
    host->refuse_suite(kDRAWBOT_SupplierSuite, 1, false);
}

TEST_F(PanelHeader, NothingIsDrawnWithoutReferenceForOtherParametersOrWhenAskedNotTo)
{
    drawing->give_drawing_reference = false;
    EXPECT_EQ(send(PF_Event_DRAW).evt_out_flags, PF_EO_HANDLED_EVENT);
    drawing->give_drawing_reference = true;
    EXPECT_EQ(send(PF_Event_DRAW, 2).evt_out_flags, PF_EO_HANDLED_EVENT);
    PF_EventExtra quiet = qvhost::drawing_recorder::panel_event(PF_Event_DRAW, header_index, frame);
    quiet.evt_in_flags = PF_EI_DONT_DRAW;
    host->send(PF_Cmd_EVENT, &quiet);
    EXPECT_EQ(quiet.evt_out_flags, PF_EO_HANDLED_EVENT);
    EXPECT_TRUE(drawing->calls_named("DrawImage").empty());
    EXPECT_TRUE(drawing->calls_named("NewImageFromBuffer").empty());
    EXPECT_EQ(drawing->calls_named("PF_GetDrawingReference").size(), 2u);
}

TEST_F(PanelHeader, ClickOnTheLinkOpensTheProductPageAndAsksForDrags)
{
    PF_EventExtra click = send(PF_Event_DO_CLICK, header_index, in_frame(200, 40));
    ASSERT_EQ(opened_pages.size(), 1u);
    EXPECT_EQ(opened_pages[0], "https://www.quorvane.com/vesk/?v=1.0.3.74");
    EXPECT_EQ(click.u.do_click.send_drag, 1);
    EXPECT_EQ(click.u.do_click.continue_refcon[0], 1);
    EXPECT_EQ(click.evt_out_flags, PF_EO_HANDLED_EVENT);

    // The drag that follows ends the request and asks for an update.
    PF_EventExtra drag = qvhost::drawing_recorder::panel_event(PF_Event_DRAG, header_index, frame);
    drag.u.do_click = click.u.do_click;
    host->send(PF_Cmd_EVENT, &drag);
    EXPECT_EQ(drag.u.do_click.send_drag, 0);
    EXPECT_EQ(drag.u.do_click.continue_refcon[0], 0);
    EXPECT_EQ(drag.evt_out_flags, PF_EO_HANDLED_EVENT | PF_EO_ALWAYS_UPDATE);
}

TEST_F(PanelHeader, ClicksOffTheLinkOrNotBelowTheTitleOpenNothing)
{
    EXPECT_EQ(send(PF_Event_DO_CLICK, header_index, in_frame(100, 40)).u.do_click.send_drag, 0);
    send(PF_Event_DO_CLICK, 2, in_frame(200, 40));

    PF_EventExtra high = qvhost::drawing_recorder::panel_event(PF_Event_DO_CLICK, header_index, frame);
    high.effect_win.param_title_frame.bottom = frame.top + 40;
    high.u.do_click.screen_point = in_frame(200, 40); // on the title's bottom edge
    host->send(PF_Cmd_EVENT, &high);
    EXPECT_EQ(high.evt_out_flags, PF_EO_HANDLED_EVENT);
    EXPECT_TRUE(opened_pages.empty());
}

} // namespace
