# Widget logic that needs no window.
qv_add_test(widget_logic_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/html_text_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/scroll_geometry_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/flow_layout_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/button_look_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/check_box_geometry_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/text_range_box_test.cpp
    LIBS qvsdk_ui
    LABELS toolkit)

# Widgets driven by real pointer and keyboard input; one at a time on the desktop.
qv_add_test(widget_input_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/popup_menu_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/generic_button_input_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/check_box_input_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/scroll_bar_input_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/text_label_input_test.cpp
    LIBS qv_window_test_support
    LABELS toolkit)
qv_desktop_input_test(widget_input_tests)

# Widget classes in detached trees and in windows, without real input.
qv_add_test(widget_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/flow_panel_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/scroll_bar_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/check_box_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/generic_button_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/text_label_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/widget_demo_test.cpp
        ${PROJECT_SOURCE_DIR}/tools/widget_demo/widget_demo.cpp
    LIBS qv_window_test_support
    LABELS toolkit)

# The demo on a 144-dpi screen, in the high-DPI Wine prefix.
qv_add_test(widget_dpi_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/widget_dpi_test.cpp
        ${PROJECT_SOURCE_DIR}/tools/widget_demo/widget_demo.cpp
    LIBS qv_window_test_support
    LABELS toolkit
    DPI 144)
