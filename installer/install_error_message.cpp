#include "installer/install_error_message.h"

#include "installer/install_status.h"

std::string install_error_message(std::int32_t code)
{
    const std::string number = std::to_string(code);
    switch (code) {
    case status_resource_missing:
    case status_resource_not_loaded:
        return "Could not load the plugin file from the installer (Error code: " + number +
               ").\n - The installer file may be corrupt.";
    case status_file_not_created:
    case status_write_failed:
        return "Could not create the plugin file (Error code: " + number +
               ").\n - Make sure that After Effects is closed\n - Make sure you have enough disk space.\n"
               " - Make sure you have administrative privileges.";
    default:
        return "Unkown error (" + number + ").";
    }
}

std::string install_failure_message(const std::string& version_label, std::int32_t code)
{
    return std::string("The installation of ") + "QV Vesk Plug-in for After Effects" + " " + version_label +
           " failed!\n\n" + install_error_message(code) +
           "\n\nPlease contact support if you continue to have trouble.\n\nDo you want to retry?";
}
