# Regenerates the assets into a scratch folder and fails unless every file is byte for byte the
# committed one, and no committed model or texture is missing from the output.
# Arguments: GENERATOR (the asset_generator binary), SCRATCH (a folder to write), COMMITTED (assets/).
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${GENERATOR} ${SCRATCH} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "asset_generator failed with ${status}")
endif()
file(GLOB_RECURSE generated RELATIVE ${SCRATCH} ${SCRATCH}/*)
file(GLOB_RECURSE committed RELATIVE ${COMMITTED} ${COMMITTED}/models/* ${COMMITTED}/textures/*)
list(SORT generated)
list(SORT committed)
if(NOT generated STREQUAL committed)
  message(FATAL_ERROR "generated files:\n  ${generated}\ncommitted files:\n  ${committed}")
endif()
set(different "")
foreach(entry IN LISTS generated)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/${entry} ${COMMITTED}/${entry}
                  RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    list(APPEND different ${entry})
  endif()
endforeach()
if(different)
  message(FATAL_ERROR "regenerated assets differ from the committed ones: ${different}\n"
                      "run the regenerate_assets target and commit the result")
endif()
list(LENGTH generated count)
message(STATUS "${count} asset files regenerate identically")
