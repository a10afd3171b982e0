# Widget classes and the pure layout and parsing logic behind them.
target_sources(qvsdk_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/html_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scroll_geometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flow_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/button_look.cpp
    ${CMAKE_CURRENT_LIST_DIR}/check_box_geometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_range_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_layout_metrics.cpp
    ${CMAKE_CURRENT_LIST_DIR}/popup_menu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/generic_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flow_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/generic_button.cpp
    ${CMAKE_CURRENT_LIST_DIR}/check_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scroll_bar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_label.cpp
)

# A small program that shows every widget.
add_executable(widget_demo WIN32
    ${PROJECT_SOURCE_DIR}/tools/widget_demo/main.cpp
    ${PROJECT_SOURCE_DIR}/tools/widget_demo/widget_demo.cpp)
target_link_libraries(widget_demo PRIVATE qvsdk_ui)
