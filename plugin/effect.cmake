# The effect's host side: entry points, dispatch, suites, parameters, sequence data.
# An OBJECT library so the tests link the same objects as the module.
add_library(qv_effect OBJECT
    ${CMAKE_CURRENT_LIST_DIR}/ae_plugin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ae_plugin_connection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/binary_archive.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effect_parameters.cpp
    ${CMAKE_CURRENT_LIST_DIR}/error_popup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_string.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layer_checkout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/param_visibility.cpp
    ${CMAKE_CURRENT_LIST_DIR}/prerender_rect.cpp
    ${CMAKE_CURRENT_LIST_DIR}/render_data_fill.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sequence_data.cpp
    ${CMAKE_CURRENT_LIST_DIR}/suite_handler.cpp
    ${CMAKE_CURRENT_LIST_DIR}/texture_cache.cpp
)
target_link_libraries(qv_effect PUBLIC qvsdk_ui qv_settings)

target_sources(QVVesk PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/plugin_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pipl.rc
    ${CMAKE_CURRENT_LIST_DIR}/QVVesk.def
)
target_link_libraries(QVVesk PRIVATE qv_effect)
