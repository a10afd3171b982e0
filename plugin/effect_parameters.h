#pragma once

#include "hostsdk/pf_effect.h"
#include "plugin/command_context.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

enum class param_kind {
    no_data,
    layer,
    float_slider,
    popup,
    angle,
    checkbox,
    color,
    point_3d,
    group_start,
    group_end,
};

// One row of the effect's fixed parameter table.
struct param_row {
    A_long id;
    param_kind kind;
    const char* name;
    // float slider
    float valid_min, valid_max, slider_factor, dephault;
    A_short precision;
    // popup: choices joined by '|', 1-based default; the host keeps the text's address
    const char* choices;
    A_long default_choice;
    // popup, angle, header: extra parameter flags
    A_long flags;
    // group start
    bool collapsed;
    // checkbox
    bool on, labelled;
    // colour (0..1) and 3D point
    float rgb[3];
    double point[3];
};

// The 79 definitions in the order the host numbers them (index = position + 1).
const std::vector<param_row>& effect_param_table();

// Disk id to host index (0 for ids that name no parameter), and host index to disk id.
// Built from the fixed table, so they are valid before any parameter set-up.
const std::vector<std::uint32_t>& id_to_index();
const std::vector<std::uint32_t>& index_to_id();
PF_ParamIndex param_index(A_long disk_id);

// The float slider's range as handed to the host.
float slider_min(const param_row& row);
float slider_max(const param_row& row);

// Adds every definition through the host's add_param and counts them in num_params.
void add_effect_params(command_context& context);

// A parameter or map layer the host would not hand out during a frame (the user
// interrupted it, say): the frame ends with the host's own code.
class parameter_refused : public std::exception {
public:
    explicit parameter_refused(PF_Err err) : err(err) {}
    const char* what() const noexcept override { return "the host refused a parameter"; }
    PF_Err err;
};

// Checks a parameter out at the host's current time, copies it and checks it in.
// One the host refuses reads as all zero, or throws parameter_refused in a frame.
PF_ParamDef read_param(const command_context& context, A_long disk_id);
