# cmake -DLISTING=<objdump -p output> -DBINARY=<name> -P check_imports.cmake
# Fails when the binary imports a DLL that a stock 64-bit Windows does not carry.

set(allowed
    kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll shlwapi.dll
    ole32.dll oleaut32.dll comdlg32.dll comctl32.dll uxtheme.dll dwmapi.dll
    d2d1.dll dwrite.dll windowscodecs.dll opengl32.dll opencl.dll imm32.dll
    wtsapi32.dll dbghelp.dll msvcrt.dll version.dll ws2_32.dll shcore.dll
    userenv.dll bcrypt.dll ntdll.dll msimg32.dll winmm.dll)

file(STRINGS "${LISTING}" lines REGEX "DLL Name:")
if(NOT lines)
    # Every PE we ship imports at least kernel32; no lines means a broken listing.
    message(FATAL_ERROR "${BINARY}: no import table found in ${LISTING}")
endif()
set(bad "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE ".*DLL Name:[ \t]*" "" dll "${line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll_lower)
    if(dll_lower MATCHES "^api-ms-win-")
        continue()
    endif()
    list(FIND allowed "${dll_lower}" found)
    if(found EQUAL -1)
        list(APPEND bad "${dll}")
    endif()
endforeach()
if(bad)
    list(JOIN bad ", " bad_text)
    message(FATAL_ERROR "${BINARY} imports DLLs that Windows does not provide: ${bad_text}")
endif()
