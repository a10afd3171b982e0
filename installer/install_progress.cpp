#include "installer/install_progress.h"

#include "installer/install_status.h"

#include <cmath>
#include <cstdio>

std::string float_to_text(float value)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.1f", double(value));
    return text;
}

bool is_writable_target(const InstallTarget& target)
{
    return target.selected && !(target.version == custom_slot && target.plugin_folder.empty());
}

float pending_megabytes(const std::vector<InstallTarget>& targets, float module_mb)
{
    float mb = 0;
    for (const InstallTarget& t : targets)
        if (is_writable_target(t) && t.status != status_installed)
            mb += module_mb;
    return mb;
}

float selected_megabytes(const std::vector<InstallTarget>& targets, float module_mb)
{
    float mb = 0;
    for (const InstallTarget& t : targets)
        if (is_writable_target(t))
            mb += module_mb;
    return mb;
}

std::int32_t installed_count(const std::vector<InstallTarget>& targets)
{
    std::int32_t n = 0;
    for (const InstallTarget& t : targets)
        if (t.status == status_installed)
            ++n;
    return n;
}

float progress_fraction(std::int32_t installed, std::int32_t selected, bool finished)
{
    if (finished)
        return 1.0f;
    if (selected <= 0)
        return 0.0f;
    return float(installed) / float(selected);
}

std::string progress_html(float fraction, float done_mb, float total_mb)
{
    const long percent = std::lround(fraction * 100.0f);
    return "<html><body><font color = \"#1b6936\">" + std::to_string(percent) + "% </font>" + " Complete (" +
           float_to_text(done_mb) + "MB of " + float_to_text(total_mb) + "MB)" + "</body></html>";
}

std::string free_space_text(float megabytes)
{
    if (megabytes == 0)
        return {};
    return "At least " + float_to_text(megabytes) + " MB of free disk space is required.";
}
