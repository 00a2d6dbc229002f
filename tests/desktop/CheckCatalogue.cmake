# Every message of the two programs has its Russian translation: extracts the
# messages with xgettext and compares them with po/ru.po (msgcmp).
# cmake -DSOURCE_DIR=... -DWORK_DIR=... -P CheckCatalogue.cmake
file(GLOB sources ${SOURCE_DIR}/settings/*.cpp ${SOURCE_DIR}/stress-editor/*.cpp
     ${SOURCE_DIR}/platform/wx/*.cpp)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
          xgettext --from-code=UTF-8 --language=C++ -k_ -kN_
          -o ${WORK_DIR}/voxamen.pot ${sources}
  RESULT_VARIABLE rc ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "xgettext failed: ${errors}")
endif()
execute_process(COMMAND msgcmp ${SOURCE_DIR}/po/ru.po ${WORK_DIR}/voxamen.pot RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "po/ru.po lacks messages of the programs (see above)")
endif()
