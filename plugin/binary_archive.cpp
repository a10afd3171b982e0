#include "plugin/binary_archive.h"

#include <cstring>

const std::uint8_t archive_header[8] = {'Q', 'V', 'C', 'H', 'F', 0, 0, 1};
const std::uint8_t archive_header_alternate[8] = {'Q', 'V', 'C', 'F', 'H', 0, 0, 1};

binary_archive::binary_archive(void* block, std::uint64_t size, archive_mode mode)
    : archive_mode_(mode), buffer_(static_cast<std::uint8_t*>(block)), size_(block ? size : 0)
{
}

binary_archive::binary_archive(const void* block, std::uint64_t size)
    : binary_archive(const_cast<void*>(block), size, read)
{
}

bool binary_archive::header()
{
    if (header_done_)
        return header_ok_;
    header_done_ = true;
    header_ok_ = false;
    if (archive_mode_ == measure) {
        size_ = header_size;
        buffer_ = nullptr;
    } else {
        if (!buffer_ || size_ < header_size)
            return false;
        if (archive_mode_ == write) {
            std::memcpy(buffer_, archive_header, header_size);
        } else if (std::memcmp(buffer_, archive_header, header_size) != 0 &&
                   std::memcmp(buffer_, archive_header_alternate, header_size) != 0) {
            return false;
        }
    }
    words_[0] = words_[1] = 0;
    position_ = header_size;
    header_ok_ = true;
    return true;
}
