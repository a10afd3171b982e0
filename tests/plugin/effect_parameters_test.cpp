// The 79 parameter definitions as the host receives them, and their visibility.

#include "tests/plugin/effect_host_fixture.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

using Parameters = SetUpEffect;
using ParametersBeforeSetUp = EffectHost;

struct expected_param {
    A_long id;
    PF_ParamType type;
    const char* name;
};

const std::vector<expected_param> expected_table = {
    {1, PF_Param_NO_DATA, ""},
    {10, PF_Param_POPUP, "3D Object"},
    {16, PF_Param_FLOAT_SLIDER, "Radius"},
    {11, PF_Param_POINT_3D, "Position"},
    {12, PF_Param_ANGLE, "Rotation X"},
    {13, PF_Param_ANGLE, "Rotation Y"},
    {14, PF_Param_ANGLE, "Rotation Z"},
    {50, PF_Param_POPUP, "Surface"},
    {200, PF_Param_GROUP_START, "Material"},
    {202, PF_Param_COLOR, "Color"},
    {203, PF_Param_FLOAT_SLIDER, "Diffuse"},
    {204, PF_Param_FLOAT_SLIDER, "Glossiness"},
    {205, PF_Param_FLOAT_SLIDER, "Specular"},
    {218, PF_Param_FLOAT_SLIDER, "Reflectivity"},
    {209, PF_Param_COLOR, "Illumination Color"},
    {206, PF_Param_FLOAT_SLIDER, "Illumination"},
    {215, PF_Param_GROUP_START, "Illumination Options"},
    {207, PF_Param_FLOAT_SLIDER, "Fresnel"},
    {208, PF_Param_FLOAT_SLIDER, "Fresnel Bias"},
    {211, PF_Param_FLOAT_SLIDER, "Shadow/Light"},
    {213, PF_Param_FLOAT_SLIDER, "Shadow/Light Contrast"},
    {220, PF_Param_FLOAT_SLIDER, "Shadow/Light Expansion"},
    {214, PF_Param_FLOAT_SLIDER, "Bump Influence"},
    {216, PF_Param_GROUP_END, ""},
    {212, PF_Param_FLOAT_SLIDER, "Ambient"},
    {210, PF_Param_FLOAT_SLIDER, "Opacity"},
    {223, PF_Param_GROUP_START, "Advanced Options"},
    {221, PF_Param_FLOAT_SLIDER, "Edge Feather"},
    {222, PF_Param_FLOAT_SLIDER, "Edge Shrink"},
    {2003, PF_Param_CHECKBOX, "Unlit Only"},
    {224, PF_Param_GROUP_END, ""},
    {201, PF_Param_GROUP_END, ""},
    {500, PF_Param_GROUP_START, "Maps"},
    {502, PF_Param_LAYER, "Diffuse Layer"},
    {503, PF_Param_FLOAT_SLIDER, "Diffuse Gamma"},
    {513, PF_Param_FLOAT_SLIDER, "Diffuse Brightness"},
    {217, PF_Param_FLOAT_SLIDER, "Diffuse Blend"},
    {504, PF_Param_LAYER, "Glossiness Layer"},
    {505, PF_Param_FLOAT_SLIDER, "Glossiness Gamma"},
    {514, PF_Param_FLOAT_SLIDER, "Glossiness Brightness"},
    {506, PF_Param_LAYER, "Illumination Layer"},
    {507, PF_Param_FLOAT_SLIDER, "Illumination Gamma"},
    {515, PF_Param_FLOAT_SLIDER, "Illumination Brightness"},
    {508, PF_Param_LAYER, "Bump Map Layer"},
    {512, PF_Param_FLOAT_SLIDER, "Bump Map Intensity"},
    {511, PF_Param_CHECKBOX, "Use Normal Map"},
    {516, PF_Param_CHECKBOX, "Flip Normal Channels"},
    {219, PF_Param_FLOAT_SLIDER, "Bump Falloff"},
    {501, PF_Param_GROUP_END, ""},
    {700, PF_Param_GROUP_START, "UV"},
    {702, PF_Param_POPUP, "UV Type"},
    {708, PF_Param_POPUP, "UV Mode"},
    {703, PF_Param_FLOAT_SLIDER, "UV Repeat X"},
    {704, PF_Param_FLOAT_SLIDER, "UV Repeat Y"},
    {705, PF_Param_FLOAT_SLIDER, "UV Offset X"},
    {706, PF_Param_FLOAT_SLIDER, "UV Offset Y"},
    {709, PF_Param_ANGLE, "UV Rotation"},
    {707, PF_Param_FLOAT_SLIDER, "Box UV Feathering"},
    {701, PF_Param_GROUP_END, ""},
    {2000, PF_Param_GROUP_START, "Render"},
    {525, PF_Param_GROUP_START, "Environment"},
    {517, PF_Param_LAYER, "Environment Layer"},
    {518, PF_Param_FLOAT_SLIDER, "Environment Gamma"},
    {519, PF_Param_FLOAT_SLIDER, "Environment Brightness"},
    {520, PF_Param_GROUP_START, "Rotate Environment"},
    {522, PF_Param_ANGLE, "Env. Rotation X"},
    {523, PF_Param_ANGLE, "Env. Rotation Y"},
    {524, PF_Param_ANGLE, "Env. Rotation Z"},
    {521, PF_Param_GROUP_END, ""},
    {526, PF_Param_GROUP_END, ""},
    {2100, PF_Param_GROUP_START, "Motion Blur"},
    {2102, PF_Param_POPUP, "Motion Blur"},
    {2103, PF_Param_FLOAT_SLIDER, "Motion Blur Samples"},
    {2104, PF_Param_FLOAT_SLIDER, "Shutter Angle"},
    {2101, PF_Param_GROUP_END, ""},
    {2005, PF_Param_CHECKBOX, "Use Default Lights"},
    {2004, PF_Param_FLOAT_SLIDER, "Gamma"},
    {2002, PF_Param_POPUP, "Multisampling"},
    {2001, PF_Param_GROUP_END, ""},
};

struct expected_slider {
    A_long id;
    float valid_min, valid_max, slider_min, slider_max, dephault;
    A_short precision;
};

const std::vector<expected_slider> expected_sliders = {
    {16, 0, 100000, 0, 15, 200, 1},
    {203, 0, 10, 0, 1, 1, 2},
    {204, 0, 1, 0, 1, 1, 2},
    {205, 0, 10, 0, 1, 1, 2},
    {218, 0, 10, 0, 1, 0, 2},
    {206, 0, 100, 0, 1, 0, 2},
    {207, -1, 1, -0.5f, 0.5f, 0, 2},
    {208, 0, 10, 0, 2, 1, 2},
    {211, -1, 1, -0.6f, 0.6f, 0, 2},
    {213, 0.01f, 10, 0.01f, 10, 3, 2},
    {220, -1, 1, -0.2f, 0.2f, 0, 2},
    {214, 0, 1, 0, 1, 1, 2},
    {212, 0, 10, 0, 1, 1, 2},
    {210, 0, 1, 0, 1, 1, 2},
    {221, 0, 1, 0, 0.2f, 0, 2},
    {222, 0, 1, 0, 0.2f, 0, 2},
    {503, 0.01f, 10, 0.01f, 2, 2.2f, 2},
    {513, 0, 10, 0, 2, 1, 2},
    {217, 0, 1, 0, 1, 1, 2},
    {505, 0.01f, 10, 0.01f, 2, 1, 2},
    {514, 0, 10, 0, 2, 1, 2},
    {507, 0.01f, 10, 0.01f, 2, 2.2f, 2},
    {515, 0, 10, 0, 2, 1, 2},
    {512, -10, 10, -0.5f, 0.5f, 1, 2},
    {219, 0, 1, 0, 1, 0.8f, 2},
    {703, -100, 100, -1, 1, 1, 2},
    {704, -100, 100, -1, 1, 1, 2},
    {705, -100, 100, -0.5f, 0.5f, 0, 2},
    {706, -100, 100, -0.5f, 0.5f, 0, 2},
    {707, 0, 1, 0, 1, 0.2f, 2},
    {518, 0.01f, 10, 0.01f, 2, 2.2f, 2},
    {519, 0, 10, 0, 2, 1, 2},
    {2103, 3, 200, 3, 200, 6, 0},
    {2104, 1, 10000, 1, 1000, 180, 0},
    {2004, 0.01f, 10, 0.01f, 2, 2.2f, 2},
};

TEST_F(Parameters, HostCountsEightyWithTheTablesDiskIdsKindsAndNames)
{
    EXPECT_EQ(host->num_params(), 80);
    const auto& params = host->params();
    ASSERT_EQ(params.size(), expected_table.size());
    for (std::size_t i = 0; i < params.size(); ++i) {
        SCOPED_TRACE(expected_table[i].id);
        EXPECT_EQ(params[i].index, static_cast<PF_ParamIndex>(i + 1));
        EXPECT_EQ(params[i].def.uu.id, expected_table[i].id);
        EXPECT_EQ(params[i].def.param_type, expected_table[i].type);
        EXPECT_EQ(params[i].name, expected_table[i].name);
    }
}

TEST_F(Parameters, FloatSlidersHaveTheirRangesDefaultsAndPrecision)
{
    int sliders = 0;
    for (const auto& param : host->params())
        sliders += param.def.param_type == PF_Param_FLOAT_SLIDER ? 1 : 0;
    EXPECT_EQ(sliders, static_cast<int>(expected_sliders.size()));
    for (const expected_slider& want : expected_sliders) {
        SCOPED_TRACE(want.id);
        const qvhost::recorded_param* param = host->param_by_id(want.id);
        ASSERT_NE(param, nullptr);
        const PF_FloatSliderDef& fs = param->def.u.fs_d;
        EXPECT_FLOAT_EQ(fs.valid_min, want.valid_min);
        EXPECT_FLOAT_EQ(fs.valid_max, want.valid_max);
        EXPECT_NEAR(fs.slider_min, want.slider_min, 1e-5);
        EXPECT_NEAR(fs.slider_max, want.slider_max, 1e-4);
        EXPECT_FLOAT_EQ(fs.dephault, want.dephault);
        EXPECT_EQ(fs.value, static_cast<double>(want.dephault));
        EXPECT_EQ(fs.precision, want.precision);
        EXPECT_EQ(fs.display_flags, 0);
    }
    // The radius slider ends at 15 while its default, 200, lies beyond it.
    EXPECT_EQ(host->param_by_id(16)->def.u.fs_d.slider_max, 100000.0f * 0.00015f);
}

TEST_F(Parameters, PopupsHaveTheirChoicesDefaultsAndFlags)
{
    struct expected_popup {
        A_long id;
        const char* choices;
        A_short count, dephault;
        A_long flags;
    };
    const expected_popup popups[] = {
        {10, "Sphere|Hemisphere", 2, 1, 0},
        {50, "All|Front|Back", 3, 2, 0},
        {702, "Spherical|Box|Plane XY|Plane XZ|Plane ZY", 5, 1, 0},
        {708, "Repeat|Mirror", 2, 1, 0},
        {2102, "Comp Settings|On|Off", 3, 1, 0},
        {2002, "0|2|4|8|16", 5, 4, PF_ParamFlag_EXCLUDE_FROM_HAVE_INPUTS_CHANGED},
    };
    for (const expected_popup& want : popups) {
        SCOPED_TRACE(want.id);
        const qvhost::recorded_param* param = host->param_by_id(want.id);
        ASSERT_NE(param, nullptr);
        EXPECT_EQ(param->choices, want.choices);
        EXPECT_EQ(param->def.u.pd.num_choices, want.count);
        EXPECT_EQ(param->def.u.pd.dephault, want.dephault);
        EXPECT_EQ(param->def.u.pd.value, want.dephault);
        EXPECT_EQ(param->def.flags, want.flags);
    }
}

TEST_F(Parameters, ChoiceTextsStayWhereTheHostPointsAfterManySetUps)
{
    std::vector<const char*> first;
    for (const auto& param : host->params())
        if (param.def.param_type == PF_Param_POPUP)
            first.push_back(param.def.u.pd.namesptr);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(host->params_setup(), PF_Err_NONE);
    std::size_t popup = 0;
    for (const auto& param : host->params()) {
        if (param.def.param_type != PF_Param_POPUP)
            continue;
        // The host still reads the first set-up's pointers.
        EXPECT_EQ(std::string(first[popup]), param.choices);
        ++popup;
    }
    EXPECT_EQ(popup, 6u);
}

TEST_F(Parameters, OtherKindsCarryTheirDefaultsAndFlags)
{
    const auto& header = host->param_by_id(1)->def;
    EXPECT_EQ(header.ui_flags, PF_PUI_CONTROL);
    EXPECT_EQ(header.ui_width, 558);
    EXPECT_EQ(header.ui_height, 84);
    EXPECT_EQ(header.flags, PF_ParamFlag_SUPERVISE);
    EXPECT_EQ(host->ui_registrations(), 1);
    EXPECT_EQ(host->ui_events(), PF_CustomEFlag_EFFECT);

    const auto& position = host->param_by_id(11)->def.u.point3d_d;
    EXPECT_EQ(position.x_value, 50.0);
    EXPECT_EQ(position.y_dephault, 50.0);
    EXPECT_EQ(position.z_value, 0.0);

    for (A_long id : {12, 13, 14, 709, 522, 523, 524}) {
        EXPECT_EQ(host->param_by_id(id)->def.flags, PF_ParamFlag_COLLAPSE_TWIRLY) << id;
        EXPECT_EQ(host->param_by_id(id)->def.u.ad.dephault, 0) << id;
    }
    for (A_long id : {202, 209}) {
        const PF_Pixel& c = host->param_by_id(id)->def.u.cd.dephault;
        EXPECT_TRUE(c.alpha == 255 && c.red == 255 && c.green == 255 && c.blue == 255) << id << " is not white";
    }
    EXPECT_EQ(host->param_by_id(2003)->label, "Unlit Only");
    EXPECT_EQ(host->param_by_id(2003)->def.u.bd.dephault, 0);
    EXPECT_EQ(host->param_by_id(511)->label, "");
    EXPECT_EQ(host->param_by_id(516)->label, "");
    EXPECT_EQ(host->param_by_id(2005)->label, "");
    EXPECT_EQ(host->param_by_id(2005)->def.u.bd.value, 1);

    for (A_long id : {502, 504, 506, 508, 517})
        EXPECT_EQ(host->param_by_id(id)->def.u.ld.dephault, 0) << id;

    // Only the "Material" group starts open.
    for (const auto& param : host->params()) {
        if (param.def.param_type != PF_Param_GROUP_START)
            continue;
        A_long want = param.def.uu.id == 200 ? 0 : PF_ParamFlag_START_COLLAPSED;
        EXPECT_EQ(param.def.flags, want) << param.def.uu.id;
    }
}

struct map_rule {
    A_long layer;
    std::vector<A_long> companions;
};

const std::vector<map_rule> map_rules = {
    {502, {503, 513, 217}},
    {504, {505, 514}},
    {506, {507, 515}},
    {508, {512, 511, 516, 219}},
};

TEST_F(Parameters, EachMapsCompanionsShowOnlyWhileItNamesALayer)
{
    // Every combination of chosen maps.
    for (int chosen = 0; chosen < 16; ++chosen) {
        SCOPED_TRACE(chosen);
        for (std::size_t m = 0; m < map_rules.size(); ++m)
            host->choose_layer(map_rules[m].layer, (chosen >> m) & 1 ? 100 + int(m) : 0);
        ASSERT_EQ(host->update_params_ui(), PF_Err_NONE);
        for (std::size_t m = 0; m < map_rules.size(); ++m) {
            bool has_layer = (chosen >> m) & 1;
            for (A_long companion : map_rules[m].companions)
                EXPECT_EQ(host->hidden(companion), !has_layer) << companion;
        }
    }
}

TEST_F(Parameters, ShutterAngleShowsOnlyWithMotionBlurOn)
{
    const std::pair<A_long, bool> choices[] = {{1, true}, {2, false}, {3, true}};
    for (const auto& [choice, hidden] : choices) {
        host->value_by_id(2102).u.pd.value = choice;
        ASSERT_EQ(host->update_params_ui(), PF_Err_NONE);
        EXPECT_EQ(host->hidden(2104), hidden) << choice;
    }
}

TEST_F(ParametersBeforeSetUp, UpdateReadsNothingOutOfBounds)
{
    ASSERT_EQ(host->global_setup(), PF_Err_NONE);
    EXPECT_EQ(host->update_params_ui(), PF_Err_NONE);
    EXPECT_EQ(host->outstanding_suites(), 0);
    EXPECT_EQ(host->live_effect_refs(), 0);
    EXPECT_EQ(host->outstanding_checkouts(), 0);
    EXPECT_EQ(host->checkins_without_checkout(), 0);
}

TEST_F(Parameters, NothingElseIsEverHidden)
{
    ASSERT_EQ(host->update_params_ui(), PF_Err_NONE);
    int hidden = 0;
    for (const auto& param : host->params())
        hidden += host->hidden(param.def.uu.id) ? 1 : 0;
    // Shutter angle and the eleven map companions, with no layers chosen.
    EXPECT_EQ(hidden, 12);
    EXPECT_EQ(host->hidden_calls(), 12);
    EXPECT_FALSE(host->hidden(518));
    EXPECT_FALSE(host->hidden(519));
}

} // namespace
