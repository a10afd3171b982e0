# Widget logic that needs no window.
qv_add_test(widget_logic_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/html_text_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/scroll_geometry_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/flow_layout_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/button_look_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/check_box_geometry_test.cpp
    LIBS qvsdk_ui
    LABELS toolkit)
