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
        ${CMAKE_CURRENT_LIST_DIR}/test_window.cpp
        ${CMAKE_CURRENT_LIST_DIR}/widget_input.cpp
        ${CMAKE_CURRENT_LIST_DIR}/widget_host.cpp
        ${CMAKE_CURRENT_LIST_DIR}/popup_menu_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/generic_button_input_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/check_box_input_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/scroll_bar_input_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/text_label_input_test.cpp
    LIBS qvsdk_ui
    LABELS toolkit)
qv_desktop_input_test(widget_input_tests)

# Widget classes in detached trees and in windows, without real input.
qv_add_test(widget_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/test_window.cpp
        ${CMAKE_CURRENT_LIST_DIR}/widget_input.cpp
        ${CMAKE_CURRENT_LIST_DIR}/widget_host.cpp
        ${CMAKE_CURRENT_LIST_DIR}/flow_panel_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/scroll_bar_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/check_box_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/generic_button_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/text_label_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/widget_demo_test.cpp
        ${PROJECT_SOURCE_DIR}/tools/widget_demo/widget_demo.cpp
    LIBS qvsdk_ui
    LABELS toolkit)

# The demo on a 144-dpi screen, in the high-DPI Wine prefix.
add_executable(widget_dpi_tests
    ${CMAKE_CURRENT_LIST_DIR}/test_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/widget_input.cpp
    ${CMAKE_CURRENT_LIST_DIR}/widget_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/widget_dpi_test.cpp
    ${PROJECT_SOURCE_DIR}/tools/widget_demo/widget_demo.cpp)
target_link_libraries(widget_dpi_tests PRIVATE qvsdk_ui GTest::gtest GTest::gmock GTest::gtest_main qv_settings)
add_test(NAME widget_dpi_tests
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/run_at_dpi.sh ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh
            ${CMAKE_BINARY_DIR}/wineprefix-144dpi 144 $<TARGET_FILE:widget_dpi_tests> --gtest_color=no)
file(MAKE_DIRECTORY ${QV_TEST_OUTPUT_DIR}/widget_dpi_tests)
set_tests_properties(widget_dpi_tests PROPERTIES
    TIMEOUT 600
    LABELS toolkit
    ENVIRONMENT "QV_TEST_OUTPUT=${QV_TEST_OUTPUT_DIR}/widget_dpi_tests")
