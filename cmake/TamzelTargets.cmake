# Helpers shared by the subsystem folders.

# A core library: plain C++, never linked against Qt (checked at the end of configuration).
# Its own sources are also checked for implicit conversions that may change a value: sizes,
# sample counts and levels cross between integer widths and floating point there.
set_property(GLOBAL PROPERTY TAMZEL_CORE_LIBRARIES "")
function(tamzel_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}")
  target_compile_options(${name} PRIVATE -Wconversion)
  set_property(GLOBAL APPEND PROPERTY TAMZEL_CORE_LIBRARIES ${name})
endfunction()

# Fails the configuration when a core library (or anything it links) pulls in Qt.
function(tamzel_check_core_libraries)
  get_property(libs GLOBAL PROPERTY TAMZEL_CORE_LIBRARIES)
  foreach(lib IN LISTS libs)
    set(pending ${lib})
    set(seen "")
    while(pending)
      list(POP_FRONT pending current)
      if(current IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${current})
      if(current MATCHES "^Qt[0-9]*::|Qt6" )
        message(FATAL_ERROR "Core library ${lib} must not link Qt (found ${current})")
      endif()
      if(TARGET ${current})
        get_target_property(deps ${current} LINK_LIBRARIES)
        get_target_property(ideps ${current} INTERFACE_LINK_LIBRARIES)
        foreach(d IN LISTS deps ideps)
          if(d AND NOT d MATCHES "NOTFOUND$")
            list(APPEND pending ${d})
          endif()
        endforeach()
      endif()
    endwhile()
  endforeach()
endfunction()

# A unit-test executable registered with ctest. Its environment (source folder, program
# folder, offscreen Qt) comes from tests/TestEnvironment.cpp, so direct runs get it too.
function(tamzel_test name)
  add_executable(${name} ${ARGN} "${CMAKE_SOURCE_DIR}/tests/TestEnvironment.cpp")
  target_compile_definitions(${name} PRIVATE
    TAMZEL_TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}" TAMZEL_TEST_HOME="${TAMZEL_HOME}")
  target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
