# Third-party code: zlib and GLEW linked statically, OpenCL through an import
# library of the ICD loader's exports.

set(QV_DEPS_DIR ${CMAKE_BINARY_DIR}/deps)

# zlib: the static archive, never the DLL import library.
find_library(QV_ZLIB_ARCHIVE NAMES libz.a REQUIRED)
find_path(QV_ZLIB_INCLUDE zlib.h REQUIRED)
add_library(qv_zlib STATIC IMPORTED GLOBAL)
set_target_properties(qv_zlib PROPERTIES
    IMPORTED_LOCATION ${QV_ZLIB_ARCHIVE}
    INTERFACE_INCLUDE_DIRECTORIES ${QV_ZLIB_INCLUDE})

# GLEW 2.2.0 from the distribution's source package, built here as a static library.
set(QV_GLEW_DIR ${QV_DEPS_DIR}/glew-2.2.0)
if(NOT EXISTS ${QV_GLEW_DIR}/src/glew.c)
    message(STATUS "fetching GLEW sources")
    execute_process(COMMAND sh ${PROJECT_SOURCE_DIR}/scripts/fetch-glew.sh ${QV_DEPS_DIR}
                    RESULT_VARIABLE glew_rc)
    if(NOT glew_rc EQUAL 0 OR NOT EXISTS ${QV_GLEW_DIR}/src/glew.c)
        message(FATAL_ERROR "could not fetch the GLEW source package (scripts/fetch-glew.sh)")
    endif()
endif()
add_library(qv_glew STATIC ${QV_GLEW_DIR}/src/glew.c)
target_include_directories(qv_glew SYSTEM PUBLIC ${QV_GLEW_DIR}/include)
target_compile_definitions(qv_glew PUBLIC GLEW_STATIC PRIVATE GLEW_NO_GLU)
target_compile_options(qv_glew PRIVATE -w)
target_link_libraries(qv_glew PUBLIC opengl32)

# OpenCL: the Khronos headers from the host system, seen through a folder of their
# own so that no other host header leaks into the Windows build.
set(QV_OPENCL_INCLUDE ${QV_DEPS_DIR}/opencl/include)
if(NOT EXISTS ${QV_OPENCL_INCLUDE}/CL/cl.h)
    if(NOT EXISTS /usr/include/CL/cl.h)
        message(FATAL_ERROR "OpenCL headers missing (package opencl-headers)")
    endif()
    file(MAKE_DIRECTORY ${QV_OPENCL_INCLUDE})
    file(CREATE_LINK /usr/include/CL ${QV_OPENCL_INCLUDE}/CL SYMBOLIC)
endif()
set(QV_OPENCL_IMPLIB ${QV_DEPS_DIR}/opencl/libOpenCL.dll.a)
add_custom_command(OUTPUT ${QV_OPENCL_IMPLIB}
    COMMAND ${QV_DLLTOOL} -d ${PROJECT_SOURCE_DIR}/cmake/OpenCL.def -l ${QV_OPENCL_IMPLIB}
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/OpenCL.def
    VERBATIM)
add_custom_target(qv_opencl_implib DEPENDS ${QV_OPENCL_IMPLIB})
add_library(qv_opencl INTERFACE)
add_dependencies(qv_opencl qv_opencl_implib)
target_include_directories(qv_opencl SYSTEM INTERFACE ${QV_OPENCL_INCLUDE})
target_compile_definitions(qv_opencl INTERFACE
    CL_TARGET_OPENCL_VERSION=120 CL_USE_DEPRECATED_OPENCL_1_2_APIS)
target_link_libraries(qv_opencl INTERFACE ${QV_OPENCL_IMPLIB})
