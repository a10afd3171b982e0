#include "plugin/error_popup.h"

#include "plugin/format_string.h"
#include "plugin/product.h"

#include <windows.h>

#include <string>

// Until the message window exists, the text goes to the debugger output.
void show_error_popup(const std::exception* error, PF_InData*) noexcept
{
    try {
        std::string title = format_string("%s Exception", product_name);
        std::string message =
            error ? std::string(error->what())
                  : format_string("%s has encountered an unrecoverable error.", product_name);
        std::string line = title + ": " + message + "\n";
        OutputDebugStringA(line.c_str());
    } catch (...) {
        OutputDebugStringA("QV Vesk: a command failed\n");
    }
}
