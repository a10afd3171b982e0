// Frame set-up, accumulation of the motion-blur samples and output conversion.
#include "plugin/renderer/renderer.h"

#include "plugin/renderer/cl_api.h"
#include "plugin/renderer/cl_check.h"
#include "plugin/renderer/cl_device_list.h"
#include "plugin/renderer/conversion_build.h"
#include "plugin/renderer/gl_allocation.h"
#include "plugin/renderer/gl_context.h"
#include "plugin/renderer/pixel_buffer_size.h"
#include "plugin/renderer/render_target_pool.h"
#include "plugin/renderer/uniform_blocks.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace qvsdk {

void Renderer::set_render_size(unsigned samples, const render_data& frame)
{
    const cl_device& device = *devices().selected;
    const std::uint64_t size = pixel_buffer_size(frame.output, limits().max_buffer_bytes);

    current_frame = frame;
    requested_samples = samples;
    context().make_current();

    const bool changed = buffer_width != frame.output.width ||
                         buffer_height != frame.output.height ||
                         buffer_samples != requested_samples;
    if (size == output_buffer_size && !changed)
        return;

    try {
        release_image(accumulation_image);
        if (changed) {
            buffer_width = frame.output.width;
            buffer_height = frame.output.height;
            buffer_samples = requested_samples;
            create_render_buffers();
        }

        output_buffer_size = size;
        if (output_buffer)
            clReleaseMemObject(output_buffer);
        output_buffer = nullptr;

        cl_int error = CL_SUCCESS;
        accumulation_image = devices().sharing().create_image(
            device.context.get(), CL_MEM_READ_WRITE, GL_TEXTURE_2D, 0, accumulation_target.name,
            &error);
        check_created(accumulation_image, error, "clCreateFromGLTexture");
        output_buffer = cl_calls.create_buffer(device.context.get(), CL_MEM_READ_WRITE,
                                               static_cast<size_t>(size), &error);
        check_created(output_buffer, error, "clCreateBuffer");
        const cl_uint row_bytes = static_cast<cl_uint>(frame.output.row_bytes);
        for (cl_kernel kernel : output_kernels) {
            check_cl(cl_calls.set_kernel_arg(kernel, 0, sizeof(cl_mem), &accumulation_image),
                     "clSetKernelArg");
            check_cl(cl_calls.set_kernel_arg(kernel, 1, sizeof(cl_mem), &output_buffer),
                     "clSetKernelArg");
            check_cl(cl_calls.set_kernel_arg(kernel, 2, sizeof(cl_uint), &row_bytes),
                     "clSetKernelArg");
        }
    } catch (...) {
        forget_render_size();
        throw;
    }
}

void Renderer::forget_render_size()
{
    // Nothing recorded matches any size, so the next frame makes everything again;
    // what was made goes now, so that the memory is free for that frame.
    release_frame_objects();
    targets().clear();
    output_buffer_size = 0;
    buffer_width = 0;
    buffer_height = 0;
    buffer_samples = 0;
}

void Renderer::create_render_buffers()
{
    render_target_pool& pool = targets();
    pool.clear();

    glGenFramebuffers(1, &accumulation_framebuffer);
    pool.framebuffers.push_back(accumulation_framebuffer);
    accumulation_target = pool.create_texture(buffer_width, buffer_height, 0);
    pool.attach(accumulation_framebuffer, GL_COLOR_ATTACHMENT0, accumulation_target);

    glGenFramebuffers(1, &multisample_framebuffer);
    pool.framebuffers.push_back(multisample_framebuffer);
    multisample_target =
        pool.create_texture(buffer_width, buffer_height, static_cast<GLint>(buffer_samples));

    const GLint depth_samples = std::min(static_cast<GLint>(buffer_samples), pool.max_samples);
    if (buffer_width > pool.max_renderbuffer_size || buffer_height > pool.max_renderbuffer_size)
        throw std::runtime_error("render buffer size is over maximum supported size");

    GLuint depth = 0;
    glGenRenderbuffers(1, &depth);
    pool.renderbuffers.push_back(depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    if (depth_samples != 0) {
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, depth_samples, GL_DEPTH_COMPONENT32,
                                         buffer_width, buffer_height);
    } else {
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32, buffer_width, buffer_height);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    check_allocated(gl_calls, depth_samples != 0 ? "glRenderbufferStorageMultisample"
                                                 : "glRenderbufferStorage");
    depth_target = {depth, render_target_renderbuffer, depth_samples != 0};

    pool.attach(multisample_framebuffer, GL_COLOR_ATTACHMENT0, multisample_target);
    pool.attach(multisample_framebuffer, GL_DEPTH_ATTACHMENT, depth_target);

    glGenFramebuffers(1, &resolve_framebuffer);
    pool.framebuffers.push_back(resolve_framebuffer);
    resolve_target = pool.create_texture(buffer_width, buffer_height, 0);
    pool.attach(resolve_framebuffer, GL_COLOR_ATTACHMENT0, resolve_target);
}

void Renderer::set_render_properties(const render_properties& camera)
{
    current_camera = camera;
    const transform_block block = make_transform_block(current_camera);
    glBindBuffer(GL_UNIFORM_BUFFER, transform_buffer);
    glBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof(block), &block);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
}

void Renderer::set_lights(const std::vector<light_properties>& lights)
{
    const lights_block block = make_lights_block(lights);
    glBindBuffer(GL_UNIFORM_BUFFER, lights_buffer);
    glBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof(block), &block);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);
}

void Renderer::begin_frame()
{
    glBindFramebuffer(GL_FRAMEBUFFER, multisample_framebuffer);
    glViewport(0, 0, current_frame.output.width, current_frame.output.height);
    glDepthMask(GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The host's composition space is y-down, which mirrors the mesh's winding.
    glFrontFace(GL_CW);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBindBufferBase(GL_UNIFORM_BUFFER, 0, transform_buffer);
    glBindBufferBase(GL_UNIFORM_BUFFER, 1, lights_buffer);
}

void Renderer::accumulate(float weight)
{
    const bool first = weight == 1.0f;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, multisample_framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, first ? accumulation_framebuffer : resolve_framebuffer);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBlitFramebuffer(0, 0, buffer_width, buffer_height, 0, 0, buffer_width, buffer_height,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);

    if (!first) {
        // accumulation = w × sample + (1 − w) × accumulation: weights 1, 1/2, 1/3 …
        // leave the mean of the samples.
        glBindFramebuffer(GL_FRAMEBUFFER, accumulation_framebuffer);
        glDisable(GL_MULTISAMPLE);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glViewport(0, 0, current_frame.output.width, current_frame.output.height);
        glEnable(GL_BLEND);
        glBlendFunc(GL_CONSTANT_COLOR, GL_ONE_MINUS_CONSTANT_COLOR);
        glBlendColor(weight, weight, weight, weight);
        glUseProgram(blit_program);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, resolve_target.name);
        draw_quad();
        glBindVertexArray(0);
        glUseProgram(0);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
    }

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glFinish();
}

void Renderer::output(float gamma)
{
    const auto start = std::chrono::steady_clock::now();
    const pixel_buffer& out = current_frame.output;
    cl_kernel kernel = output_kernels[conversion_build(out.bytes_per_channel)];
    const cl_device& device = *devices().selected;
    cl_command_queue queue = device.queue.get();

    try {
        if (!accumulation_image || !output_buffer)
            throw std::runtime_error("output buffer was not made");
        check_cl(devices().sharing().acquire(queue, accumulation_image),
                 "clEnqueueAcquireGLObjects");
        check_cl(cl_calls.set_kernel_arg(kernel, 3, sizeof(float), &gamma), "clSetKernelArg");
        check_cl(cl_calls.run_kernel(queue, kernel, static_cast<size_t>(out.width),
                                     static_cast<size_t>(out.height)),
                 "clEnqueueNDRangeKernel");
        check_cl(devices().sharing().release(queue, accumulation_image),
                 "clEnqueueReleaseGLObjects");
        check_cl(cl_calls.read_buffer(queue, output_buffer, static_cast<size_t>(output_buffer_size),
                                      out.pixels),
                 "clEnqueueReadBuffer");
        check_cl(cl_calls.finish(queue), "clFinish");
    } catch (...) {
        forget_render_size();
        throw;
    }

    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now() - start);
    char line[64];
    std::snprintf(line, sizeof(line), "Output Render: %.2f ms\n",
                  static_cast<double>(elapsed.count() / 1000) * 0.001);
    OutputDebugStringA(line);
}

} // namespace qvsdk
