qv_add_test(sphere_mesh_tests
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/sphere_mesh_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/render_records_test.cpp
    LIBS qv_renderer
    LABELS renderer)
