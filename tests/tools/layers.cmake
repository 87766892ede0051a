# The program's layers are kept by the build: a checkout in which a core
# reaches the widgets or the global records, a window library reaches the
# shell or another subsystem's windows, or a file includes a header of a
# library its own does not link, fails to configure and says why.
# Run as: cmake -DSOURCE=<tree> -DWORK=<scratch folder> -P layers.cmake
set(cases
  "src/books/core/BookRules.cpp|#include \"ui/MessageBoxes.h\"|includes #include \"ui/MessageBoxes.h\""
  "src/stock/core/CMakeLists.txt|target_link_libraries(obrix_stock_core PUBLIC Qt6::Widgets)|obrix_stock_core holds rules and must not link Qt Widgets"
  "src/orders/core/CMakeLists.txt|target_link_libraries(obrix_orders_core PUBLIC obrix_session)|obrix_orders_core must not link obrix_session"
  "src/orders/ui/CMakeLists.txt|target_link_libraries(obrix_orders_ui PUBLIC obrix_stock_ui)|obrix_orders_ui must not link obrix_stock_ui"
  "src/books/ui/CMakeLists.txt|target_link_libraries(obrix_books_ui PUBLIC obrix_shell)|obrix_books_ui must not link obrix_shell"
  "src/base/CMakeLists.txt|target_link_libraries(obrix_base PUBLIC obrix_data)|link each other")
foreach(case ${cases})
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 file)
  list(GET case 1 line)
  list(GET case 2 expected)
  set(tree ${WORK}/tree)
  file(REMOVE_RECURSE ${WORK})
  file(MAKE_DIRECTORY ${tree})
  foreach(part CMakeLists.txt cmake src db Reports help tools)
    file(COPY ${SOURCE}/${part} DESTINATION ${tree})
  endforeach()
  file(APPEND ${tree}/${file} "\n${line}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${tree} -B ${WORK}/build -DOBRIX_TESTS=OFF
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(rc EQUAL 0)
    message(FATAL_ERROR "a checkout with '${line}' in ${file} configured without an error")
  endif()
  string(REGEX REPLACE "[ \t\r\n]+" " " flat "${err}")
  string(FIND "${flat}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the refusal of '${line}' in ${file} does not say '${expected}':\n${err}")
  endif()
  message(STATUS "${file} + ${line}: refused")
endforeach()
file(REMOVE_RECURSE ${WORK})
