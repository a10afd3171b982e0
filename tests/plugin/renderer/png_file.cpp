#include "png_file.h"

#include "tools/qvhost/image_file.h"

#include <cstdlib>

namespace qvtest {

bool write_png(const std::string& path, int width, int height,
               const std::vector<std::uint8_t>& rgba)
{
    return qvhost::write_png(path, width, height, rgba);
}

std::string test_output_path(const std::string& file_name)
{
    const char* folder = std::getenv("QV_TEST_OUTPUT");
    if (!folder || !*folder)
        return file_name;
    return std::string(folder) + "/" + file_name;
}

} // namespace qvtest
