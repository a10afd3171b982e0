#pragma once

#include <cstddef>
#include <cstdint>

// A serializer over one memory block. This module only ever writes or checks the
// 8-byte header: "QVCHF", two zero bytes and a 1.
class binary_archive {
public:
    enum archive_mode : std::uint32_t { read = 0, write = 1, measure = 2 };

    binary_archive(void* block, std::uint64_t size, archive_mode mode);
    binary_archive(const void* block, std::uint64_t size);

    // Runs once: writes, checks or measures the header; true when it succeeded.
    bool header();

    archive_mode mode() const { return archive_mode_; }
    std::uint64_t size() const { return size_; }
    std::uint64_t position() const { return position_; }
    bool header_ok() const { return header_ok_; }

    static constexpr std::uint64_t header_size = 8;

private:
    archive_mode archive_mode_;
    bool header_ok_ = false;
    bool header_done_ = false;
    std::uint8_t* buffer_;
    std::uint64_t size_;
    std::uint64_t words_[2] = {};
    std::uint64_t position_ = 0;
};

// The header as written, and the other spelling a reader also accepts.
extern const std::uint8_t archive_header[8];
extern const std::uint8_t archive_header_alternate[8];
