cmake_minimum_required(VERSION 3.21)
# Fails when a file includes a project header from a folder it may not reach:
#   cmake -DALLOWED="store;zone" -DFILES="a.cpp;b.h" -DSTAMP=file -P check_includes.cmake
# Project headers are included by their folder ("store/registry_access.h");
# system headers (<...>) are not looked at.
foreach(file IN LISTS FILES)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
        string(REGEX REPLACE "/.*$" "" folder "${header}")
        if(NOT folder IN_LIST ALLOWED)
            message(FATAL_ERROR "${file} includes \"${header}\": this layer reaches only ${ALLOWED}")
        endif()
    endforeach()
endforeach()
file(TOUCH "${STAMP}")
