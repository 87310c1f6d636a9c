# Helpers shared by every folder's CMakeLists.

# orvo_add_test(<name> SOURCES <files...> LIBS <targets...> [TIMEOUT <s>])
# A Qt Test (or any) executable registered with CTest. Every test runs on the offscreen
# platform; every test gets a timeout so an unanswered modal box fails instead of hanging.
function(orvo_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  target_compile_definitions(${name} PRIVATE
    ORVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" ORVO_DIST_DIR="${ORVO_DIST_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(env "QT_QPA_PLATFORM=offscreen")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${env}")
endfunction()

# orvo_add_bench(<name> SOURCES <files...> LIBS <targets...>)
# Benchmarks are built with the project but never run by CTest.
function(orvo_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench-bin)
  target_link_libraries(${name} PRIVATE ${B_LIBS})
  target_compile_definitions(${name} PRIVATE
    ORVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" ORVO_DIST_DIR="${ORVO_DIST_DIR}")
endfunction()
