# Runs every content generator into OUT_DIR and compares each output with the
# committed file of the same name, byte for byte.
file(REMOVE_RECURSE ${OUT_DIR})
file(MAKE_DIRECTORY ${OUT_DIR})
execute_process(COMMAND ${MAKE_PICTURES} ${OUT_DIR} RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "make_pictures failed: ${rc}")
endif()
execute_process(COMMAND ${MAKE_SCROLLTEXT} ${SOURCE_DIR}/generators/scrolltext/scrolltext.src
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

execute_process(COMMAND ${MAKE_ICON} ${OUT_DIR}/vitrelume.ico RESULT_VARIABLE rc)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_DIR}/vitrelume.ico
                        ${SOURCE_DIR}/resources/icon/vitrelume.ico RESULT_VARIABLE differs)
if(rc OR differs)
  message(FATAL_ERROR "make_icon failed (${rc}) or its output differs from resources/icon/vitrelume.ico")
endif()
message(STATUS "all ${count} generated files and the icon match the committed ones")
