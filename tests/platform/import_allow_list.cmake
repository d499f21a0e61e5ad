# Fails unless every library the executable imports is one the platform
# protects from planting: a KnownDLL, which the loader maps from its own
# section and never looks for on disk. Everything else (the URL cache library,
# the common controls) is loaded at run time from the system directory, after
# the search has been restricted, so it never appears here.
#   cmake -DOBJDUMP=<objdump> -DEXE=<exe> -P import_allow_list.cmake
cmake_minimum_required(VERSION 3.21)
set(allowed advapi32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll)

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "objdump could not read ${EXE}")
endif()
# objdump names only the plain imports; delay-load ones would escape the list.
if(NOT headers MATCHES "Entry d [0-9a-fA-F]+ 0+ Delay Import Directory")
    message(FATAL_ERROR "${EXE} has delay-load imports")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]*" lines "${headers}")
if(NOT lines)
    message(FATAL_ERROR "no imports found in ${EXE}")
endif()
set(imported)
set(refused)
foreach(line IN LISTS lines)
    string(REGEX REPLACE "DLL Name: *" "" dll "${line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    list(APPEND imported ${dll})
    if(NOT dll IN_LIST allowed)
        list(APPEND refused ${dll})
    endif()
endforeach()
if(refused)
    message(FATAL_ERROR "${EXE} imports libraries the platform does not protect: ${refused}"
                        " (all imports: ${imported})")
endif()
message(STATUS "imports: ${imported}")
