# Warnings are errors in our own code only; third-party headers come in as SYSTEM.
function(orvella_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# A link in an include root, made again when it points elsewhere (a build
# tree configured before the roots were split keeps working).
function(orvella_root_link target link)
  if(IS_SYMLINK ${link})
    file(READ_SYMLINK ${link} current)
    if(current STREQUAL target)
      return()
    endif()
    file(REMOVE ${link})
  endif()
  get_filename_component(parent ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${target} ${link} SYMBOLIC)
endfunction()

# The include root of one src/ folder or app part ("app/web"): a folder in the
# build tree holding only a link named after the folder. A target sees
# "<folder>/x.h" for its own folder and for the targets it links, and nothing
# else, so an include that crosses the layers the wrong way fails to compile.
function(orvella_layer_root folder out)
  string(REPLACE "/" "_" name ${folder})
  set(root ${PROJECT_BINARY_DIR}/layers/${name})
  orvella_root_link(${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder})
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# One library per src/ folder or app part (FOLDER, the src/ folder's name by
# default). Sources are gathered from the folder so that adding a file needs no
# CMake change; SOURCES adds generated ones. DEPS are what the public headers
# include (part of this target's interface); PRIVATE_DEPS are what only its own
# sources include. OBJECT makes an object library, for sources that register
# themselves and so must all land in the binary.
function(orvella_add_layer name)
  cmake_parse_arguments(L "OBJECT" "FOLDER" "DEPS;PRIVATE_DEPS;SOURCES" ${ARGN})
  if(NOT L_FOLDER)
    get_filename_component(L_FOLDER ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  endif()
  orvella_layer_root(${L_FOLDER} root)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources AND L_OBJECT)
    add_library(${name} OBJECT ${sources} ${L_SOURCES})
  elseif(sources)
    add_library(${name} STATIC ${sources} ${L_SOURCES})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${root})
    target_link_libraries(${name} INTERFACE ${L_DEPS})
    return()
  endif()
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC ${L_DEPS} PRIVATE ${L_PRIVATE_DEPS})
  orvella_warnings(${name})
endfunction()

# One GoogleTest executable per tests/ folder, registered with CTest. A suite
# sees the headers of the layers it links and the test support, no more.
function(orvella_add_test_suite name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_LIBS} orvella_testsupport GTest::gtest GTest::gmock orvella_test_main)
  orvella_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# Replays the seeds of the fuzz target fuzz/NAME.cpp (fuzz/corpus_<family>/,
# family being the word after "fuzz_") once under ctest, without libFuzzer.
# LIBS are the layers the target calls.
function(orvella_fuzz_replay name)
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  string(REGEX MATCH "^fuzz_([a-z]+)_" family ${name})
  set(fuzz ${PROJECT_SOURCE_DIR}/fuzz)
  add_executable(replay_${name} ${fuzz}/${name}.cpp ${fuzz}/fuzz_support.cpp ${fuzz}/replay_main.cpp)
  target_include_directories(replay_${name} PRIVATE ${fuzz})
  target_link_libraries(replay_${name} PRIVATE ${F_LIBS} PkgConfig::TEST_TIFF)
  set_target_properties(replay_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  orvella_warnings(replay_${name})
  add_test(NAME ${name}_corpus COMMAND replay_${name} ${fuzz}/corpus_${CMAKE_MATCH_1})
  set_tests_properties(${name}_corpus PROPERTIES TIMEOUT 300)
endfunction()

# orvella_fuzz_replay for every fuzz/PATTERN.cpp.
function(orvella_fuzz_replays pattern)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/${pattern}.cpp)
  foreach(source ${sources})
    get_filename_component(name ${source} NAME_WE)
    orvella_fuzz_replay(${name} ${ARGN})
  endforeach()
endfunction()
