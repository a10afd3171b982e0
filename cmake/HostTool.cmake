# qv_host_tool(<name> SOURCES <files...> [LIBS <-lfoo ...>])
#
# Build-time generators run on the build machine, so they are compiled with the
# machine's own C++ compiler, at configure time (the project itself is
# cross-compiled). The tool is rebuilt when one of SOURCES changes (list the
# headers it includes too). Its path is left in the cache variable QV_TOOL_<name>,
# for custom commands to run and to DEPEND on.
find_program(QV_HOST_CXX NAMES g++ c++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)

function(qv_host_tool name)
    cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
    set(exe ${CMAKE_BINARY_DIR}/host-tools/${name})
    set(compile "")
    set(rebuild FALSE)
    if(NOT EXISTS ${exe})
        set(rebuild TRUE)
    endif()
    foreach(src IN LISTS arg_SOURCES)
        get_filename_component(src ${src} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${src})
        if(src MATCHES "\\.(c|cc|cpp)$")
            list(APPEND compile ${src})
        endif()
        if(${src} IS_NEWER_THAN ${exe})
            set(rebuild TRUE)
        endif()
    endforeach()
    if(rebuild)
        file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/host-tools)
        message(STATUS "building host tool ${name}")
        execute_process(
            COMMAND ${QV_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -I${PROJECT_SOURCE_DIR}
                    ${compile} -o ${exe} ${arg_LIBS}
            RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
            file(REMOVE ${exe})
            message(FATAL_ERROR "host tool ${name} failed to compile")
        endif()
    endif()
    set(QV_TOOL_${name} ${exe} CACHE INTERNAL "")
endfunction()
