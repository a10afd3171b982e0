#pragma once

#include <string>

// printf-style formatting into a 512-byte buffer; longer results are cut to 511 bytes.
std::string format_string(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
