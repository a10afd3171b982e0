#include "plugin/effect_parameters.h"

#include "hostsdk/pf_custom_ui.h"

#include <algorithm>
#include <cstring>

namespace {

param_row base(A_long id, param_kind kind, const char* name)
{
    param_row row{};
    row.id = id;
    row.kind = kind;
    row.name = name;
    row.slider_factor = 1.0f;
    return row;
}

param_row header()
{
    param_row row = base(1, param_kind::no_data, "");
    row.flags = PF_ParamFlag_SUPERVISE;
    return row;
}

param_row layer(A_long id, const char* name)
{
    return base(id, param_kind::layer, name);
}

param_row slider(A_long id, const char* name, float valid_min, float valid_max, float factor,
                  float dephault, A_short precision)
{
    param_row row = base(id, param_kind::float_slider, name);
    row.valid_min = valid_min;
    row.valid_max = valid_max;
    row.slider_factor = factor;
    row.dephault = dephault;
    row.precision = precision;
    return row;
}

param_row popup(A_long id, const char* name, const char* choices, A_long default_choice,
                 A_long flags = 0)
{
    param_row row = base(id, param_kind::popup, name);
    row.choices = choices;
    row.default_choice = default_choice;
    row.flags = flags;
    return row;
}

param_row angle(A_long id, const char* name)
{
    param_row row = base(id, param_kind::angle, name);
    row.flags = PF_ParamFlag_COLLAPSE_TWIRLY;
    return row;
}

param_row checkbox(A_long id, const char* name, bool on, bool labelled)
{
    param_row row = base(id, param_kind::checkbox, name);
    row.on = on;
    row.labelled = labelled;
    return row;
}

param_row color(A_long id, const char* name, float r, float g, float b)
{
    param_row row = base(id, param_kind::color, name);
    row.rgb[0] = r;
    row.rgb[1] = g;
    row.rgb[2] = b;
    return row;
}

param_row point_3d(A_long id, const char* name, double x, double y, double z)
{
    param_row row = base(id, param_kind::point_3d, name);
    row.point[0] = x;
    row.point[1] = y;
    row.point[2] = z;
    return row;
}

param_row group(A_long id, const char* name, bool collapsed)
{
    param_row row = base(id, param_kind::group_start, name);
    row.collapsed = collapsed;
    return row;
}

param_row group_end(A_long id)
{
    return base(id, param_kind::group_end, "");
}

std::vector<param_row> make_table()
{
    // Choice texts are literals: the host keeps pointers into them for good.
    return {
        header(),
        popup(10, "3D Object", "Sphere|Hemisphere", 1),
        slider(16, "Radius", 0.0f, 100000.0f, 0.00015f, 200.0f, 1),
        point_3d(11, "Position", 50.0, 50.0, 0.0),
        angle(12, "Rotation X"),
        angle(13, "Rotation Y"),
        angle(14, "Rotation Z"),
        popup(50, "Surface", "All|Front|Back", 2),
        group(200, "Material", false),
        color(202, "Color", 1.0f, 1.0f, 1.0f),
        slider(203, "Diffuse", 0.0f, 10.0f, 0.1f, 1.0f, 2),
        slider(204, "Glossiness", 0.0f, 1.0f, 1.0f, 1.0f, 2),
        slider(205, "Specular", 0.0f, 10.0f, 0.1f, 1.0f, 2),
        slider(218, "Reflectivity", 0.0f, 10.0f, 0.1f, 0.0f, 2),
        color(209, "Illumination Color", 1.0f, 1.0f, 1.0f),
        slider(206, "Illumination", 0.0f, 100.0f, 0.01f, 0.0f, 2),
        group(215, "Illumination Options", true),
        slider(207, "Fresnel", -1.0f, 1.0f, 0.5f, 0.0f, 2),
        slider(208, "Fresnel Bias", 0.0f, 10.0f, 0.2f, 1.0f, 2),
        slider(211, "Shadow/Light", -1.0f, 1.0f, 0.6f, 0.0f, 2),
        slider(213, "Shadow/Light Contrast", 0.01f, 10.0f, 1.0f, 3.0f, 2),
        slider(220, "Shadow/Light Expansion", -1.0f, 1.0f, 0.2f, 0.0f, 2),
        slider(214, "Bump Influence", 0.0f, 1.0f, 1.0f, 1.0f, 2),
        group_end(216),
        slider(212, "Ambient", 0.0f, 10.0f, 0.1f, 1.0f, 2),
        slider(210, "Opacity", 0.0f, 1.0f, 1.0f, 1.0f, 2),
        group(223, "Advanced Options", true),
        slider(221, "Edge Feather", 0.0f, 1.0f, 0.2f, 0.0f, 2),
        slider(222, "Edge Shrink", 0.0f, 1.0f, 0.2f, 0.0f, 2),
        checkbox(2003, "Unlit Only", false, true),
        group_end(224),
        group_end(201),
        group(500, "Maps", true),
        layer(502, "Diffuse Layer"),
        slider(503, "Diffuse Gamma", 0.01f, 10.0f, 0.2f, 2.2f, 2),
        slider(513, "Diffuse Brightness", 0.0f, 10.0f, 0.2f, 1.0f, 2),
        slider(217, "Diffuse Blend", 0.0f, 1.0f, 1.0f, 1.0f, 2),
        layer(504, "Glossiness Layer"),
        slider(505, "Glossiness Gamma", 0.01f, 10.0f, 0.2f, 1.0f, 2),
        slider(514, "Glossiness Brightness", 0.0f, 10.0f, 0.2f, 1.0f, 2),
        layer(506, "Illumination Layer"),
        slider(507, "Illumination Gamma", 0.01f, 10.0f, 0.2f, 2.2f, 2),
        slider(515, "Illumination Brightness", 0.0f, 10.0f, 0.2f, 1.0f, 2),
        layer(508, "Bump Map Layer"),
        slider(512, "Bump Map Intensity", -10.0f, 10.0f, 0.05f, 1.0f, 2),
        checkbox(511, "Use Normal Map", false, false),
        checkbox(516, "Flip Normal Channels", false, false),
        slider(219, "Bump Falloff", 0.0f, 1.0f, 1.0f, 0.8f, 2),
        group_end(501),
        group(700, "UV", true),
        popup(702, "UV Type", "Spherical|Box|Plane XY|Plane XZ|Plane ZY", 1),
        popup(708, "UV Mode", "Repeat|Mirror", 1),
        slider(703, "UV Repeat X", -100.0f, 100.0f, 0.01f, 1.0f, 2),
        slider(704, "UV Repeat Y", -100.0f, 100.0f, 0.01f, 1.0f, 2),
        slider(705, "UV Offset X", -100.0f, 100.0f, 0.005f, 0.0f, 2),
        slider(706, "UV Offset Y", -100.0f, 100.0f, 0.005f, 0.0f, 2),
        angle(709, "UV Rotation"),
        slider(707, "Box UV Feathering", 0.0f, 1.0f, 1.0f, 0.2f, 2),
        group_end(701),
        group(2000, "Render", true),
        group(525, "Environment", true),
        layer(517, "Environment Layer"),
        slider(518, "Environment Gamma", 0.01f, 10.0f, 0.2f, 2.2f, 2),
        slider(519, "Environment Brightness", 0.0f, 10.0f, 0.2f, 1.0f, 2),
        group(520, "Rotate Environment", true),
        angle(522, "Env. Rotation X"),
        angle(523, "Env. Rotation Y"),
        angle(524, "Env. Rotation Z"),
        group_end(521),
        group_end(526),
        group(2100, "Motion Blur", true),
        popup(2102, "Motion Blur", "Comp Settings|On|Off", 1),
        slider(2103, "Motion Blur Samples", 3.0f, 200.0f, 1.0f, 6.0f, 0),
        slider(2104, "Shutter Angle", 1.0f, 10000.0f, 0.1f, 180.0f, 0),
        group_end(2101),
        checkbox(2005, "Use Default Lights", true, false),
        slider(2004, "Gamma", 0.01f, 10.0f, 0.2f, 2.2f, 2),
        popup(2002, "Multisampling", "0|2|4|8|16", 4,
              PF_ParamFlag_EXCLUDE_FROM_HAVE_INPUTS_CHANGED),
        group_end(2001),
    };
}

struct param_maps {
    std::vector<std::uint32_t> id_to_index;
    std::vector<std::uint32_t> index_to_id;
};

const param_maps& maps()
{
    static const param_maps built = [] {
        param_maps result;
        const std::vector<param_row>& table = effect_param_table();
        A_long largest = 0;
        for (const param_row& row : table)
            largest = std::max(largest, row.id);
        result.id_to_index.assign(static_cast<std::size_t>(largest) + 1, 0);
        result.index_to_id.assign(table.size() + 1, 0);
        for (std::size_t i = 0; i < table.size(); ++i) {
            result.index_to_id[i + 1] = static_cast<std::uint32_t>(table[i].id);
            result.id_to_index[static_cast<std::size_t>(table[i].id)] =
                static_cast<std::uint32_t>(i + 1);
        }
        return result;
    }();
    return built;
}

A_short count_choices(const char* choices)
{
    return static_cast<A_short>(std::count(choices, choices + std::strlen(choices), '|') + 1);
}

PF_Pixel to_pixel(const float rgb[3])
{
    auto channel = [](float value) { return static_cast<A_u_char>(value * 255.0f); };
    return PF_Pixel{255, channel(rgb[0]), channel(rgb[1]), channel(rgb[2])};
}

void fill_definition(PF_ParamDef& def, const param_row& row)
{
    switch (row.kind) {
    case param_kind::no_data:
        def.param_type = PF_Param_NO_DATA;
        def.ui_flags = PF_PUI_CONTROL;
        def.ui_width = 558;
        def.ui_height = 84;
        def.flags = row.flags;
        break;
    case param_kind::layer:
        def.param_type = PF_Param_LAYER;
        def.u.ld.dephault = 0;
        break;
    case param_kind::float_slider:
        def.param_type = PF_Param_FLOAT_SLIDER;
        def.u.fs_d.valid_min = row.valid_min;
        def.u.fs_d.valid_max = row.valid_max;
        def.u.fs_d.slider_min = slider_min(row);
        def.u.fs_d.slider_max = slider_max(row);
        def.u.fs_d.dephault = row.dephault;
        def.u.fs_d.precision = row.precision;
        def.u.fs_d.display_flags = 0;
        def.u.fs_d.value = row.dephault;
        break;
    case param_kind::popup:
        def.param_type = PF_Param_POPUP;
        def.u.pd.value = row.default_choice;
        def.u.pd.dephault = static_cast<A_short>(row.default_choice);
        def.u.pd.num_choices = count_choices(row.choices);
        def.u.pd.namesptr = row.choices;
        def.flags = row.flags;
        break;
    case param_kind::angle:
        def.param_type = PF_Param_ANGLE;
        def.flags = row.flags;
        break;
    case param_kind::checkbox:
        def.param_type = PF_Param_CHECKBOX;
        def.u.bd.value = def.u.bd.dephault = row.on ? 1 : 0;
        def.u.bd.nameptr = row.labelled ? row.name : "";
        break;
    case param_kind::color:
        def.param_type = PF_Param_COLOR;
        def.u.cd.value = def.u.cd.dephault = to_pixel(row.rgb);
        break;
    case param_kind::point_3d:
        def.param_type = PF_Param_POINT_3D;
        def.u.point3d_d.x_value = def.u.point3d_d.x_dephault = row.point[0];
        def.u.point3d_d.y_value = def.u.point3d_d.y_dephault = row.point[1];
        def.u.point3d_d.z_value = def.u.point3d_d.z_dephault = row.point[2];
        break;
    case param_kind::group_start:
        def.param_type = PF_Param_GROUP_START;
        def.flags = row.collapsed ? PF_ParamFlag_START_COLLAPSED : 0;
        break;
    case param_kind::group_end:
        def.param_type = PF_Param_GROUP_END;
        break;
    }
}

} // namespace

const std::vector<param_row>& effect_param_table()
{
    static const std::vector<param_row> table = make_table();
    return table;
}

const std::vector<std::uint32_t>& id_to_index()
{
    return maps().id_to_index;
}

const std::vector<std::uint32_t>& index_to_id()
{
    return maps().index_to_id;
}

PF_ParamIndex param_index(A_long disk_id)
{
    const std::vector<std::uint32_t>& ids = id_to_index();
    if (disk_id < 0 || static_cast<std::size_t>(disk_id) >= ids.size())
        return 0;
    return static_cast<PF_ParamIndex>(ids[static_cast<std::size_t>(disk_id)]);
}

float slider_min(const param_row& row)
{
    return row.valid_min >= 0.0f ? row.valid_min : row.valid_min * row.slider_factor;
}

float slider_max(const param_row& row)
{
    return row.valid_max * row.slider_factor;
}

void add_effect_params(command_context& context)
{
    PF_InData* in_data = context.in_data;
    bool first = true;
    for (const param_row& row : effect_param_table()) {
        PF_ParamDef def{};
        def.uu.id = row.id;
        fill_definition(def, row);
        if (row.kind != param_kind::group_end)
            in_data->utils->ansi.strcpy(def.name, row.name);
        in_data->inter.add_param(in_data->effect_ref, -1, &def);
        context.out_data->num_params += 1;
        if (first) {
            PF_CustomUIInfo info{};
            info.events = PF_CustomEFlag_EFFECT;
            in_data->inter.register_ui(in_data->effect_ref, &info);
            first = false;
        }
    }
}

PF_ParamDef read_param(const command_context& context, A_long disk_id)
{
    PF_InData* in_data = context.in_data;
    PF_ParamDef def{};
    PF_Err err = in_data->inter.checkout_param(in_data->effect_ref, param_index(disk_id),
                                               in_data->current_time, in_data->time_step,
                                               in_data->time_scale, &def);
    PF_ParamDef copy = def;
    // Only what the host handed out goes back.
    if (err == PF_Err_NONE)
        in_data->inter.checkin_param(in_data->effect_ref, &def);
    else if (context.rendering)
        throw parameter_refused(err);
    else
        copy = PF_ParamDef{};
    return copy;
}
