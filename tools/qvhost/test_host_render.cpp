// The test host's frame: smart pre-render and smart render with real buffers.

#include "tools/qvhost/test_host.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qvhost {

namespace {

int scaled(int size, const PF_RationalScale& downsample)
{
    return static_cast<int>(std::ceil(static_cast<double>(size) * downsample.num / downsample.den));
}

void store(std::uint8_t* at, A_short bit_depth, const PF_Pixel8& pixel)
{
    const A_u_char channels[4] = {pixel.alpha, pixel.red, pixel.green, pixel.blue};
    for (int c = 0; c < 4; ++c) {
        if (bit_depth == 8) {
            at[c] = channels[c];
        } else if (bit_depth == 16) {
            const auto value = static_cast<std::uint16_t>((channels[c] * 32768 + 127) / 255);
            std::memcpy(at + c * 2, &value, 2);
        } else {
            const float value = channels[c] / 255.0f;
            std::memcpy(at + c * 4, &value, 4);
        }
    }
}

} // namespace

std::array<float, 4> rendered_frame::rgba(int x, int y) const
{
    const std::uint8_t* at =
        bytes.data() + static_cast<std::size_t>(y) * row_bytes + x * 4 * (bit_depth / 8);
    float argb[4];
    for (int c = 0; c < 4; ++c) {
        if (bit_depth == 8) {
            argb[c] = at[c] / 255.0f;
        } else if (bit_depth == 16) {
            std::uint16_t value;
            std::memcpy(&value, at + c * 2, 2);
            argb[c] = value / 32768.0f;
        } else {
            std::memcpy(&argb[c], at + c * 4, 4);
        }
    }
    return {argb[1], argb[2], argb[3], argb[0]};
}

std::vector<std::uint8_t> rendered_frame::rgba8() const
{
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::array<float, 4> c = rgba(x, y);
            for (int i = 0; i < 4; ++i)
                out[(static_cast<std::size_t>(y) * width + x) * 4 + i] =
                    static_cast<std::uint8_t>(std::clamp(c[i], 0.0f, 1.0f) * 255.0f + 0.5f);
        }
    return out;
}

host_image rendered_frame::picture() const
{
    host_image image;
    image.width = width;
    image.height = height;
    const std::vector<std::uint8_t> rgba = rgba8();
    for (std::size_t i = 0; i < rgba.size(); i += 4)
        image.pixels.push_back(PF_Pixel8{rgba[i + 3], rgba[i], rgba[i + 1], rgba[i + 2]});
    return image;
}

PF_EffectWorld* test_host::make_world(const host_image* image, int width, int height)
{
    auto storage = std::make_unique<world_storage>();
    const int bytes_per_pixel = 4 * (frame_bit_depth / 8);
    PF_EffectWorld& world = storage->world;
    world.width = width;
    world.height = height;
    // Rows padded, as the host's often are.
    world.rowbytes = (width * bytes_per_pixel + 15) / 16 * 16 + 16;
    storage->bytes.assign(static_cast<std::size_t>(world.rowbytes) * height, 0);
    world.data = storage->bytes.data();
    if (image && image->width > 0 && image->height > 0) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int sx = std::min(image->width - 1, x * image->width / width);
                const int sy = std::min(image->height - 1, y * image->height / height);
                store(storage->bytes.data() + static_cast<std::size_t>(y) * world.rowbytes +
                          x * bytes_per_pixel,
                      frame_bit_depth, image->at(sx, sy));
            }
    }
    frame_worlds.push_back(std::move(storage));
    return &frame_worlds.back()->world;
}

int test_host::layer_checkouts(A_long checkout_id) const
{
    auto found = pixel_checkouts.find(checkout_id);
    return found == pixel_checkouts.end() ? 0 : found->second;
}

int test_host::layer_checkins(A_long checkout_id) const
{
    auto found = pixel_checkins.find(checkout_id);
    return found == pixel_checkins.end() ? 0 : found->second;
}

PF_Err test_host::prerender_checkout(PF_ProgPtr, PF_ParamIndex, A_long, const PF_RenderRequest*,
                                     A_long, A_long, A_u_long, PF_CheckoutResult* result)
{
    test_host& host = current();
    host.enter("checkout_layer");
    std::memset(result, 0, sizeof *result);
    const int width = scaled(host.in_data.width, host.in_data.downsample_x);
    const int height = scaled(host.in_data.height, host.in_data.downsample_y);
    result->result_rect = result->max_result_rect = PF_LRect{0, 0, width, height};
    result->par = host.in_data.pixel_aspect_ratio;
    return PF_Err_NONE;
}

PF_Err test_host::checkout_pixels(PF_ProgPtr, A_long checkout_id, PF_EffectWorld** pixels)
{
    test_host& host = current();
    host.enter("checkout_layer_pixels");
    host.pixel_checkouts[checkout_id] += 1;
    *pixels = nullptr;
    auto failing = host.failing_checkouts.find(checkout_id);
    if (failing != host.failing_checkouts.end())
        return failing->second;
    if (host.checkout_rendered_layer(checkout_id, pixels))
        return PF_Err_NONE;
    const host_image* image = nullptr;
    if (checkout_id == 0) {
        image = &host.comp.layers.at(host.comp.effect_layer).image;
        *pixels = host.make_world(image, scaled(host.in_data.width, host.in_data.downsample_x),
                                  scaled(host.in_data.height, host.in_data.downsample_y));
        return PF_Err_NONE;
    }
    const host_layer* layer = host.chosen_layer(checkout_id);
    if (!layer || layer->image.width == 0)
        return PF_Err_NONE; // an empty layer parameter: no pixels, no error
    *pixels = host.make_world(&layer->image, scaled(layer->image.width, host.in_data.downsample_x),
                              scaled(layer->image.height, host.in_data.downsample_y));
    return PF_Err_NONE;
}

bool test_host::checkout_rendered_layer(A_long checkout_id, PF_EffectWorld** pixels)
{
    auto found = rendered_layers.find(checkout_id);
    if (found == rendered_layers.end())
        return false;
    // Taken out first: the frame it renders may check out the same id.
    const std::function<host_image()> render_layer = std::move(found->second);
    rendered_layers.erase(found);
    const host_image image = render_layer();
    // Rendered at the current downsampling already.
    if (image.width > 0 && image.height > 0)
        *pixels = make_world(&image, image.width, image.height);
    return true;
}

rendered_frame test_host::render_nested(instance& on, A_short bit_depth)
{
    std::vector<std::unique_ptr<world_storage>> outer_worlds;
    outer_worlds.swap(frame_worlds);
    const PF_InData outer_in = in_data;
    const PF_OutData outer_out = out_data;
    PF_EffectWorld* const outer_output = output_world;
    const std::map<A_long, int> outer_checkouts = pixel_checkouts;
    const std::map<A_long, int> outer_checkins = pixel_checkins;
    const A_short outer_depth = frame_bit_depth;
    rendered_frame frame = render(on, bit_depth);
    frame_worlds.swap(outer_worlds);
    in_data = outer_in;
    out_data = outer_out;
    output_world = outer_output;
    pixel_checkouts = outer_checkouts;
    pixel_checkins = outer_checkins;
    frame_bit_depth = outer_depth;
    return frame;
}

PF_Err test_host::send_nested(PF_Cmd command, instance& on)
{
    const PF_InData outer_in = in_data;
    const PF_OutData outer_out = out_data;
    const PF_Err err = send(command, nullptr, &on);
    in_data = outer_in;
    out_data = outer_out;
    return err;
}

PF_Err test_host::checkin_pixels(PF_ProgPtr, A_long checkout_id)
{
    test_host& host = current();
    host.enter("checkin_layer_pixels");
    host.pixel_checkins[checkout_id] += 1;
    return PF_Err_NONE;
}

PF_Err test_host::checkout_output(PF_ProgPtr, PF_EffectWorld** output)
{
    test_host& host = current();
    host.enter("checkout_output");
    if (!host.output_world) {
        const PF_LRect& area = host.output_area;
        if (area.right > area.left && area.bottom > area.top) {
            host.output_world =
                host.make_world(nullptr, area.right - area.left, area.bottom - area.top);
            host.output_world->origin_x = area.left;
            host.output_world->origin_y = area.top;
        } else {
            host.output_world =
                host.make_world(nullptr, scaled(host.in_data.width, host.in_data.downsample_x),
                                scaled(host.in_data.height, host.in_data.downsample_y));
        }
    }
    *output = host.output_world;
    return PF_Err_NONE;
}

rendered_frame test_host::render(instance& on, A_short bit_depth)
{
    in_data.width = comp.width;
    in_data.height = comp.height;
    const A_Ratio& layer_aspect = comp.layers.at(comp.effect_layer).pixel_aspect;
    const A_Ratio& aspect = layer_aspect.num != 0 ? layer_aspect : comp.pixel_aspect;
    in_data.pixel_aspect_ratio = PF_RationalScale{aspect.num, aspect.den};
    in_data.time_scale = time_scale();
    in_data.time_step = in_data.local_time_step = frame_duration;
    frame_worlds.clear();
    output_world = nullptr;
    pixel_checkouts.clear();
    pixel_checkins.clear();
    frame_bit_depth = bit_depth;

    rendered_frame frame;
    frame.bit_depth = bit_depth;
    const int width = scaled(comp.width, in_data.downsample_x);
    const int height = scaled(comp.height, in_data.downsample_y);

    PF_PreRenderInput pre_input{};
    pre_input.output_request.rect = PF_LRect{0, 0, width, height};
    if (output_area.right > output_area.left && output_area.bottom > output_area.top)
        pre_input.output_request.rect = output_area;
    pre_input.output_request.channel_mask = PF_ChannelMask_ARGB;
    pre_input.bitdepth = bit_depth;
    PF_PreRenderOutput pre_output{};
    PF_PreRenderCallbacks pre_callbacks{prerender_checkout};
    PF_PreRenderExtra pre_extra{&pre_input, &pre_output, &pre_callbacks};
    frame.err = send(PF_Cmd_SMART_PRE_RENDER, &pre_extra, &on);
    if (frame.err != PF_Err_NONE)
        return frame;

    PF_SmartRenderInput input{};
    input.output_request = pre_input.output_request;
    input.bitdepth = bit_depth;
    PF_SmartRenderCallbacks callbacks{checkout_pixels, checkin_pixels, checkout_output};
    PF_SmartRenderExtra extra{&input, &callbacks};
    frame.err = send(PF_Cmd_SMART_RENDER, &extra, &on);
    if (output_world) {
        frame.width = output_world->width;
        frame.height = output_world->height;
        frame.row_bytes = output_world->rowbytes;
        const auto* data = static_cast<const std::uint8_t*>(output_world->data);
        frame.bytes.assign(data, data + static_cast<std::size_t>(frame.row_bytes) * frame.height);
    }
    return frame;
}

} // namespace qvhost
