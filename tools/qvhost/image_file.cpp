#include "tools/qvhost/image_file.h"

#include "tools/qvhost/effect_module.h"

#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>
#include <zlib.h>

#include <cstdio>
#include <stdexcept>

using Microsoft::WRL::ComPtr;

namespace qvhost {

namespace {

void check(HRESULT hr, const std::string& what)
{
    if (FAILED(hr))
        throw std::runtime_error("cannot decode " + what);
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void put_chunk(std::vector<std::uint8_t>& out, const char type[4],
               const std::vector<std::uint8_t>& data)
{
    put_u32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    put_u32(out, static_cast<std::uint32_t>(crc));
}

} // namespace

host_image load_image_file(const std::string& path)
{
    const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    struct uninit {
        bool owned;
        ~uninit()
        {
            if (owned)
                CoUninitialize();
        }
    } com{SUCCEEDED(init)};

    host_image image;
    {
        ComPtr<IWICImagingFactory> factory;
        check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                               IID_PPV_ARGS(&factory)),
              path);
        const std::string windows = windows_path(path);
        std::wstring wide(windows.begin(), windows.end());
        ComPtr<IWICBitmapDecoder> decoder;
        check(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                 WICDecodeMetadataCacheOnDemand, &decoder),
              path);
        ComPtr<IWICBitmapFrameDecode> frame;
        check(decoder->GetFrame(0, &frame), path);
        ComPtr<IWICFormatConverter> converter;
        check(factory->CreateFormatConverter(&converter), path);
        check(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                    WICBitmapDitherTypeNone, nullptr, 0,
                                    WICBitmapPaletteTypeCustom),
              path);
        UINT width = 0, height = 0;
        check(converter->GetSize(&width, &height), path);
        std::vector<BYTE> bgra(static_cast<std::size_t>(width) * height * 4);
        check(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(bgra.size()),
                                    bgra.data()),
              path);
        image.width = static_cast<int>(width);
        image.height = static_cast<int>(height);
        image.pixels.resize(static_cast<std::size_t>(width) * height);
        for (std::size_t i = 0; i < image.pixels.size(); ++i)
            image.pixels[i] = PF_Pixel8{bgra[i * 4 + 3], bgra[i * 4 + 2], bgra[i * 4 + 1],
                                        bgra[i * 4]};
    }
    return image;
}

bool write_png(const std::string& path, int width, int height,
               const std::vector<std::uint8_t>& rgba)
{
    std::vector<std::uint8_t> header;
    put_u32(header, static_cast<std::uint32_t>(width));
    put_u32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, no interlace

    std::vector<std::uint8_t> raw;
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgba.begin() + y * stride, rgba.begin() + (y + 1) * stride);
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_SPEED) != Z_OK)
        return false;
    packed.resize(packed_size);

    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    put_chunk(file, "IHDR", header);
    put_chunk(file, "IDAT", packed);
    put_chunk(file, "IEND", {});

    std::FILE* out = std::fopen(windows_path(path).c_str(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

} // namespace qvhost
