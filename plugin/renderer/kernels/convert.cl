// Conversion between the host's pixel buffers (alpha, red, green, blue) and the
// renderer's float RGBA images. OUTPUT_BPC (32, 16 or 8) is defined by the build.

#if OUTPUT_BPC == 32
#define BUFFER_TYPE float4
#elif OUTPUT_BPC == 16
#define BUFFER_TYPE ushort4
#else
#define BUFFER_TYPE uchar4
#endif

__constant sampler_t imageSampler =
    CLK_NORMALIZED_COORDS_FALSE | CLK_ADDRESS_CLAMP | CLK_FILTER_NEAREST;

__kernel void output(__read_only image2d_t inImage, __global uchar* outData, uint rowBytes,
                     float gamma)
{
    const int x = get_global_id(0);
    const int y = get_global_id(1);
    __global BUFFER_TYPE* row = (__global BUFFER_TYPE*)(outData + (size_t)y * rowBytes);
    float4 c = read_imagef(inImage, imageSampler, (int2)(x, y));

    float a = clamp(c.w, 0.0f, 1.0f);
    float3 rgb = c.xyz;
    if (a > 0.0f)
        rgb /= a;
    // Negative colour (a reflectivity above 1 at the rim) has no power, and a steep
    // exponent overflows: hosts that go on in floats get finite numbers only.
    rgb = fmax(rgb, 0.0f);
    rgb = (float3)(pow(rgb.x, gamma), pow(rgb.y, gamma), pow(rgb.z, gamma));
    rgb = fmin(rgb, FLT_MAX);
    float4 argb = (float4)(a, rgb.x, rgb.y, rgb.z);

#if OUTPUT_BPC == 32
    row[x] = argb;
#elif OUTPUT_BPC == 16
    row[x] = convert_ushort4_sat(argb * 65535.0f) / (ushort4)(2);
#else
    row[x] = convert_uchar4_sat(argb * 255.0f);
#endif
}

__kernel void input(__write_only image2d_t outImage, __global const uchar* inData, uint rowBytes)
{
    const int x = get_global_id(0);
    const int y = get_global_id(1);
    __global const BUFFER_TYPE* row = (__global const BUFFER_TYPE*)(inData + (size_t)y * rowBytes);
    BUFFER_TYPE p = row[x];

#if OUTPUT_BPC == 32
    float4 argb = p;
#elif OUTPUT_BPC == 16
    float4 argb = convert_float4(p) / 32767.0f;
#else
    float4 argb = convert_float4(p) / 255.0f;
#endif
    write_imagef(outImage, (int2)(x, y), (float4)(argb.y, argb.z, argb.w, argb.x));
}
