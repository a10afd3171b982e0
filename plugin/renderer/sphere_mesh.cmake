# The unit sphere: generated on the build machine, embedded as two zlib streams,
# inflated once when the renderer starts.
qv_host_tool(sphere_mesh
    SOURCES
        ${PROJECT_SOURCE_DIR}/tools/sphere_mesh/main.cpp
        ${PROJECT_SOURCE_DIR}/tools/sphere_mesh/geodesic_sphere.cpp
        ${PROJECT_SOURCE_DIR}/tools/sphere_mesh/geodesic_sphere.h
        ${CMAKE_CURRENT_SOURCE_DIR}/sphere_mesh.h
    LIBS -lz)

set(QV_SPHERE_VERTICES ${CMAKE_CURRENT_BINARY_DIR}/sphere_vertices.z)
set(QV_SPHERE_INDICES ${CMAKE_CURRENT_BINARY_DIR}/sphere_indices.z)
add_custom_command(
    OUTPUT ${QV_SPHERE_VERTICES} ${QV_SPHERE_INDICES}
    COMMAND ${QV_TOOL_sphere_mesh} ${QV_SPHERE_VERTICES} ${QV_SPHERE_INDICES}
    DEPENDS ${QV_TOOL_sphere_mesh}
    COMMENT "Generating the sphere mesh"
    VERBATIM)

qv_embed(qv_renderer HEADER sphere_mesh_data.h NAMESPACE qvsdk::sphere_mesh_data
    FILES
        sphere_vertices=${QV_SPHERE_VERTICES}
        sphere_indices=${QV_SPHERE_INDICES})
target_sources(qv_renderer PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/sphere_mesh.cpp)
target_link_libraries(qv_renderer PUBLIC qv_zlib)
