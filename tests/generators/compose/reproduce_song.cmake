# Compiles the score and packs it the way generators/compose/build-song.sh does,
# then compares the archive with resources/217-music.lh5 byte for byte.
file(REMOVE_RECURSE ${OUT_DIR})
file(MAKE_DIRECTORY ${OUT_DIR})
execute_process(COMMAND ${YMCOMPOSE} ${SOURCE_DIR}/generators/compose/vitrelume.score -o ${OUT_DIR}/song.ym
                RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "ymcompose failed: ${rc}")
endif()
execute_process(COMMAND ${LH5PACK} ${OUT_DIR}/song.ym ${OUT_DIR}/217-music.lh5 --name song.ym
                RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "lh5pack failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_DIR}/217-music.lh5
                        ${SOURCE_DIR}/resources/217-music.lh5 RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "the score no longer compiles to resources/217-music.lh5; "
                      "run generators/compose/build-song.sh and commit the result")
endif()
