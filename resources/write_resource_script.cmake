# Writes the Windows program's resource script: every <id>-<name>.<ext> file
# as a "DATA" resource under its id, and the program's icon group. Stops the
# build when a required id has no file.
#   cmake -DREQUIRED_IDS=a,b,...|- -DICON=FILE -DICON_ID=N -DOUT=FILE
#         -P write_resource_script.cmake FILE...
# The files come on the command line, so that a removed one changes the
# command and the build runs it again.
cmake_minimum_required(VERSION 3.21)
set(files)
set(after_script FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(after_script)
    list(APPEND files "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} MATCHES "write_resource_script\\.cmake$")
    set(after_script TRUE)
  endif()
endforeach()

set(ids)
set(script "// Generated from resources/ at build time. Do not edit.\n")
foreach(file ${files})
  get_filename_component(name ${file} NAME)
  if(NOT name MATCHES "^([0-9]+)-.")
    continue()  # not content
  endif()
  math(EXPR id "${CMAKE_MATCH_1}")
  if(id GREATER 65535)
    message(FATAL_ERROR "resources/${name}: a resource id must be below 65536")
  endif()
  if(id IN_LIST ids)
    message(FATAL_ERROR "resources/${name}: id ${id} is used by two files")
  endif()
  file(SIZE ${file} size)
  if(size EQUAL 0)
    message(FATAL_ERROR "resources/${name} is empty")
  endif()
  if(file MATCHES "[\"\\\\]")
    message(FATAL_ERROR "${file}: a resource path may hold no quote or backslash")
  endif()
  list(APPEND ids ${id})
  string(APPEND script "${id} DATA \"${file}\"\n")
endforeach()

string(REPLACE "," ";" required "${REQUIRED_IDS}")
foreach(id ${required})
  if(NOT id STREQUAL "-" AND NOT id IN_LIST ids)
    message(FATAL_ERROR "resource ${id} has no file in resources/")
  endif()
endforeach()

string(APPEND script "${ICON_ID} ICON \"${ICON}\"\n")
file(WRITE ${OUT} "${script}")
