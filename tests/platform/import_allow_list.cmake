# Fails unless each executable is the program its subsystem says (GUI: the
# dialog, CUI: the console program) and imports only libraries the platform
# protects from planting: KnownDLLs, which the loader maps from its own section
# and never looks for on disk. Everything else (the URL cache library, the
# common controls) is loaded at run time from the system directory, after the
# search has been restricted, so it never appears here.
#   cmake -DOBJDUMP=<objdump> -DGUI=<Vormet.exe> -DCUI=<vormet-cli.exe> -DTRAY=<vormet-tray.exe>
#         -P import_allow_list.cmake
cmake_minimum_required(VERSION 3.21)
set(known advapi32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll)

# The tray is a GUI program that also imports shell32, a known library too.
foreach(program GUI CUI TRAY)
    set(exe ${${program}})
    set(subsystem ${program})
    set(allowed ${known})
    if(program STREQUAL "TRAY")
        set(subsystem GUI)
        list(APPEND allowed shell32.dll)
    endif()
    execute_process(COMMAND ${OBJDUMP} -p ${exe} OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)
    if(NOT headers MATCHES "Subsystem[\t ]+[0-9a-f]+[\t ]+\\(Windows ${subsystem}\\)")
        message(FATAL_ERROR "${exe} is no Windows ${subsystem} program")
    endif()
    # objdump names only the plain imports; delay-load ones would escape the list.
    if(NOT headers MATCHES "Entry d [0-9a-fA-F]+ 0+ Delay Import Directory")
        message(FATAL_ERROR "${exe} has delay-load imports")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]*" lines "${headers}")
    string(TOLOWER "${lines}" imported)
    string(REPLACE "dll name: " "" imported "${imported}")
    set(refused ${imported})
    list(REMOVE_ITEM refused ${allowed})
    if(NOT imported OR refused)
        message(FATAL_ERROR "${exe} imports libraries the platform does not protect: ${refused}"
                            " (all imports: ${imported})")
    endif()
    message(STATUS "${exe}: ${imported}")
endforeach()
