# The effect's host side, driven through the test host exactly as the host would.
qv_add_test(effect_host_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/effect_host_fixture.cpp
        ${CMAKE_CURRENT_LIST_DIR}/entry_points_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/global_setup_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/host_suites_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/effect_parameters_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/sequence_data_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/render_commands_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/frame_render_test.cpp
    LIBS qvhost_lib
    LABELS effect)
add_dependencies(effect_host_tests QVVesk)
# Counts the dumps in the shared folder.
set_property(TEST effect_host_tests APPEND PROPERTY RESOURCE_LOCK crash_dump_folder)
target_compile_definitions(effect_host_tests PRIVATE
    QV_EFFECT_MODULE="$<TARGET_FILE:QVVesk>")

# Pieces of the effect tested on their own, some on the test host's handles.
qv_add_test(effect_unit_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/archive_header_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/effect_helpers_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/effect_records_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/frame_math_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/frame_road_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/in_process_effect.cpp
        ${CMAKE_CURRENT_LIST_DIR}/renderer/failing_cl_api.cpp
        ${CMAKE_CURRENT_LIST_DIR}/renderer_proxy_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_host_tools_test.cpp
    LIBS qv_effect qv_renderer qvhost_lib
    LABELS effect)

# The test host's own run over the module.
# qvhost is made before the tests' emulator setting, so Wine is named here.
add_test(NAME qvhost_drives_module
    COMMAND sh ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix
            $<TARGET_FILE:qvhost> $<TARGET_FILE:QVVesk>)
set_tests_properties(qvhost_drives_module PROPERTIES LABELS effect TIMEOUT 300)

# Global set-up when the renderer cannot start: no OpenCL driver is visible.
add_test(NAME effect_renderer_start_failure
    COMMAND effect_host_tests --gtest_filter=RendererStartFailure.* --gtest_color=no)
set_tests_properties(effect_renderer_start_failure PROPERTIES
    LABELS effect TIMEOUT 300
    ENVIRONMENT "OCL_ICD_VENDORS=/nonexistent;QV_OPENCL_HIDDEN=1")

# The test host's command line renders a small sample frame into a PNG file, as
# the demo command does at full size. Called as a user would from a folder of
# their own: the program by its full path, the module and the frames relative to
# that folder, where the frames must land.
add_test(NAME qvhost_renders_sample_frame
    COMMAND sh -c "rm -f qvhost_sample-*.png && sh \"$0\" \"$@\" && test -s qvhost_sample-0001.png"
            ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix
            $<TARGET_FILE:qvhost> $<PATH:RELATIVE_PATH,$<TARGET_FILE:QVVesk>,${QV_TEST_OUTPUT_DIR}>
            render --size 160x90 --diffuse checker --environment gradient --motion-blur on
            --move 8,0,0 --frames 0-1 --out qvhost_sample.png
    WORKING_DIRECTORY ${QV_TEST_OUTPUT_DIR})
set_tests_properties(qvhost_renders_sample_frame PROPERTIES LABELS effect TIMEOUT 300)
