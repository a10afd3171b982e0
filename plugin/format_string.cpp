#include "plugin/format_string.h"

#include <cstdarg>
#include <cstdio>

std::string format_string(const char* format, ...)
{
    char buffer[512] = {};
    va_list args;
    va_start(args, format);
    // One byte short of the buffer: the zero fill keeps the text terminated even
    // where the runtime's formatter does not terminate a truncated result.
    int written = std::vsnprintf(buffer, sizeof buffer - 1, format, args);
    va_end(args);
    if (written < 0)
        return std::string();
    return std::string(buffer);
}
