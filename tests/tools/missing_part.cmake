# A checkout that lacks one of the program's files or folders must not build a
# program that silently does less: configuring it fails and names what is missing.
# Run as: cmake -DSOURCE=<tree> -DWORK=<scratch folder> -P missing_part.cmake
foreach(missing src/shell/ConnectCommand.cpp src/books)
  set(tree ${WORK}/tree)
  file(REMOVE_RECURSE ${WORK})
  file(MAKE_DIRECTORY ${tree})
  foreach(part CMakeLists.txt cmake src db Reports help tools)
    file(COPY ${SOURCE}/${part} DESTINATION ${tree})
  endforeach()
  file(REMOVE_RECURSE ${tree}/${missing})
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${tree} -B ${WORK}/build -DOBRIX_TESTS=OFF
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(rc EQUAL 0)
    message(FATAL_ERROR "a checkout without ${missing} configured without an error")
  endif()
  get_filename_component(name ${missing} NAME)
  if(NOT err MATCHES "${name}")
    message(FATAL_ERROR "the refusal for a missing ${missing} does not name it:\n${err}")
  endif()
  message(STATUS "without ${missing}: refused")
endforeach()
file(REMOVE_RECURSE ${WORK})
