#include "plugin/format_string.h"

#include <cstdarg>
#include <cstdio>

std::string format_string(const char* format, ...)
{
    char buffer[512] = {};
    va_list args;
    va_start(args, format);
    // A text too long is cut; some runtimes then report an error and leave it
    // unterminated, so the last byte is cleared whatever the result.
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    buffer[sizeof buffer - 1] = '\0';
    return std::string(buffer);
}
