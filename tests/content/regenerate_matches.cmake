# Runs every content generator into OUT_DIR and compares each output with the
# committed file of the same name, byte for byte.
file(REMOVE_RECURSE ${OUT_DIR})
file(MAKE_DIRECTORY ${OUT_DIR})
execute_process(COMMAND ${MAKE_PICTURES} ${OUT_DIR} RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "make_pictures failed: ${rc}")
endif()
execute_process(COMMAND ${MAKE_SCROLLTEXT} ${SOURCE_DIR}/tools/scrolltext/scrolltext.src
                        ${OUT_DIR}/181-scrolltext.txt RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "make_scrolltext failed: ${rc}")
endif()

file(GLOB made ${OUT_DIR}/*)
list(LENGTH made count)
if(NOT count EQUAL 14)
  message(FATAL_ERROR "expected 14 generated files, got ${count}")
endif()
foreach(file ${made})
  get_filename_component(name ${file} NAME)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${file} ${SOURCE_DIR}/resources/${name}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${name}: the generator's output differs from resources/${name}")
  endif()
endforeach()
message(STATUS "all ${count} generated files match the committed ones")
