# The effect's host side: entry points, dispatch, suites, parameters, sequence data.
# An OBJECT library so the tests link the same objects as the module.
add_library(qv_effect OBJECT
    ${CMAKE_CURRENT_LIST_DIR}/ae_plugin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ae_plugin_connection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/binary_archive.cpp
    ${CMAKE_CURRENT_LIST_DIR}/camera.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame_render.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layer_texture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lights.cpp
    ${CMAKE_CURRENT_LIST_DIR}/motion_blur.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sample_scene.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effect_parameters.cpp
    ${CMAKE_CURRENT_LIST_DIR}/error_popup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/about_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host_window_owner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_popup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_popup_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/panel_header.cpp
    ${CMAKE_CURRENT_LIST_DIR}/product_link.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_string.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layer_checkout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/param_visibility.cpp
    ${CMAKE_CURRENT_LIST_DIR}/prerender_rect.cpp
    ${CMAKE_CURRENT_LIST_DIR}/render_data_fill.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sequence_data.cpp
    ${CMAKE_CURRENT_LIST_DIR}/suite_handler.cpp
    ${CMAKE_CURRENT_LIST_DIR}/texture_cache.cpp
)
target_link_libraries(qv_effect PUBLIC qv_renderer qv_plugin_core qvsdk_ui qv_glew qv_zlib
                      qv_settings)
# The header banner, drawn at build time and carried in the module.
qv_host_tool(banner_image
    SOURCES ${PROJECT_SOURCE_DIR}/tools/banner_image/main.cpp
            ${PROJECT_SOURCE_DIR}/tools/theme_images/canvas.cpp
            ${PROJECT_SOURCE_DIR}/tools/theme_images/canvas.h
            ${PROJECT_SOURCE_DIR}/tools/theme_images/png_writer.cpp
            ${PROJECT_SOURCE_DIR}/tools/theme_images/png_writer.h
    LIBS -lz)
set(effect_banner ${CMAKE_CURRENT_BINARY_DIR}/effect_banner.png)
add_custom_command(OUTPUT ${effect_banner}
    COMMAND ${QV_TOOL_banner_image} ${effect_banner}
    DEPENDS ${QV_TOOL_banner_image}
    COMMENT "Drawing the effect-controls header banner"
    VERBATIM)
target_sources(qv_effect PRIVATE ${effect_banner})
qv_embed(qv_effect HEADER effect_banner.h NAMESPACE qvsdk::effect_images FILES banner=${effect_banner})

# A hardware fault in a command is turned into an exception that must unwind here.
target_compile_options(qv_effect PRIVATE -fnon-call-exceptions)

target_sources(QVVesk PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/plugin_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pipl.rc
    ${CMAKE_CURRENT_LIST_DIR}/QVVesk.def
)
target_link_libraries(QVVesk PRIVATE qv_effect)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/plugin_main.cpp PROPERTIES
    COMPILE_OPTIONS -fnon-call-exceptions)
