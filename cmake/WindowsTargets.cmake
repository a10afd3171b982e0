# Settings every target of ours shares, and the check that the shipped binaries
# load on a bare Windows: the host loads one file, so no runtime DLL may be needed.

add_library(qv_settings INTERFACE)
target_compile_definitions(qv_settings INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
target_compile_options(qv_settings INTERFACE
    $<$<COMPILE_LANGUAGE:CXX,C>:-Wall -Wextra>)
target_include_directories(qv_settings INTERFACE ${PROJECT_SOURCE_DIR})
# libgcc, libstdc++ and winpthread go into each binary.
target_link_options(qv_settings INTERFACE -static -static-libgcc -static-libstdc++)

set(QV_IMPORT_CHECK ${PROJECT_SOURCE_DIR}/cmake/check_imports.cmake)

# Fails the build when a shipped PE imports a DLL outside the Windows system set.
function(qv_check_imports target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${QV_OBJDUMP} -p $<TARGET_FILE:${target}> > $<TARGET_FILE:${target}>.imports
        COMMAND ${CMAKE_COMMAND} -DLISTING=$<TARGET_FILE:${target}>.imports
                -DBINARY=$<TARGET_FILE_NAME:${target}> -P ${QV_IMPORT_CHECK}
        VERBATIM)
endfunction()
