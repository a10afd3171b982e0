# The effect's windows and panel header, with the effect's code in the test
# process, so that the shell call that opens the product page can be watched.
set(effect_in_process
    ${PROJECT_SOURCE_DIR}/plugin/plugin_main.cpp)
set_source_files_properties(${PROJECT_SOURCE_DIR}/plugin/plugin_main.cpp PROPERTIES
    COMPILE_OPTIONS -fnon-call-exceptions)

# Header drawing and the message popup's layout: no input, no lock.
qv_add_test(effect_ui_tests
    SOURCES
        ${effect_in_process}
        ${CMAKE_CURRENT_LIST_DIR}/panel_header_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/message_popup_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/crash_translation_test.cpp
    LIBS qv_effect qv_renderer qvhost_lib
    LABELS effect)
# A fault translated in a command writes its dump into the shared folder.
set_property(TEST effect_ui_tests APPEND PROPERTY RESOURCE_LOCK crash_dump_folder)

# The error and About windows, answered with real input from a helper thread.
# Their windows centre on a stand-in host window at (0, 400), 600 x 400.
qv_add_test(effect_window_tests
    SOURCES
        ${effect_in_process}
        ${CMAKE_CURRENT_LIST_DIR}/effect_windows_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/effect_window_helpers.cpp
        ${PROJECT_SOURCE_DIR}/tests/toolkit/test_window.cpp
        ${PROJECT_SOURCE_DIR}/tests/toolkit/widget_input.cpp
    LIBS qv_effect qv_renderer qvhost_lib
    LABELS effect)
# A fault injected into a command must unwind out of the test's own frames.
target_compile_options(effect_window_tests PRIVATE -fnon-call-exceptions)
qv_desktop_input_test(effect_window_tests)
set_property(TEST effect_window_tests APPEND PROPERTY RESOURCE_LOCK crash_dump_folder)
