# Helpers that give every target of the project the same flags and shape.

set(KR_WARNINGS -Wall -Wextra -Werror -Wno-missing-field-initializers)
# GCC 12 warns of copies out of bounds and overlapping inside std::string's operator+ once
# it inlines it (at -O1 and above: the ThreadSanitizer and release builds), for code as
# plain as std::string("a") + b + c. Whether it fires changes with the inlining, so a
# source that builds cleanly with a compiler cache failed with the precompiled headers of
# a cold build. GCC 13 no longer makes these mistakes.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND KR_WARNINGS -Wno-array-bounds -Wno-stringop-overflow -Wno-restrict)
endif()

# Under the sanitizers the libraries are compiled at -O1 and the rest unoptimised. At -O0
# every small inline function (reference counts, string views, array accessors) stays a
# call with its own checks, and the tests, which spend their time in the libraries (a
# skin read and made into controls dozens of times over), ran several times slower than
# the libraries take to compile the more; ThreadSanitizer's far slower checks make it
# more so.
if(KR_SANITIZE)
  set(KR_LIBRARY_OPTIMIZE -O1)
elseif(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo)$")
  # The program's own build (scripts/run's). The libraries are position-independent, because
  # two of them go into the libraries the program loads at run time. GCC then assumes another
  # library might replace any of their functions when the program loads, and so inlines none
  # into another of the same source; nothing here is meant to be replaced so, and those two
  # libraries export only their C entry points. Counted on the program's UI thread from exec
  # to its first paint: 0.6 % fewer instructions.
  # -O3 was measured too: 0.7 % fewer instructions again, but 10 % more compile time, 18 %
  # more code and a resident peak 1.2 MB higher at the start, so the libraries stay at -O2.
  set(KR_LIBRARY_OPTIMIZE -fno-semantic-interposition)
else()
  set(KR_LIBRARY_OPTIMIZE "")
endif()

# Sanitizer flags go on every target, including the shared libraries loaded at run
# time, so one build has one runtime.
if(KR_SANITIZE)
  add_compile_options(-fsanitize=${KR_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${KR_SANITIZE})
endif()

# The test programs' own sources are compiled without UndefinedBehaviorSanitizer, which
# was over a third of a test batch's compile (its checks at every member call and
# arithmetic step, unoptimised): the libraries under test keep it, and the tests keep
# AddressSanitizer. A library's templates and inline functions are checked where the
# library's own code inlines them, not in a copy a test's object gives the linker.
set(KR_TEST_SANITIZE_OPTIONS "")
if(KR_SANITIZE MATCHES "undefined")
  set(KR_TEST_SANITIZE_OPTIONS -fno-sanitize=undefined)
endif()

# Precompiled headers. Without a compiler cache (a cold CI run) every source parses the
# same standard library and GoogleTest headers again, most of its compile time at -O0.
# With a cache a hit beats any precompiled header, and a header precompiled afresh in a
# build folder differs byte for byte from any other folder's, so every source using it
# would miss the cache: the default follows whether a cache is in use.
if(CCACHE_PROGRAM AND "$ENV{CCACHE_DISABLE}" MATCHES "^(|0|false|no)$")
  set(kr_pch_default OFF)
else()
  set(kr_pch_default ON)
endif()
option(KR_PCH "Precompile the standard and test-framework headers most sources include" ${kr_pch_default})
# Sources keep their own includes: builds with a cache have no precompiled header, so a
# missing one still fails there.
set(KR_PCH_HEADERS <algorithm> <array> <atomic> <chrono> <cmath> <condition_variable> <cstddef>
  <cstdint> <cstdio> <cstdlib> <cstring> <deque> <filesystem> <fstream> <functional> <limits> <map>
  <memory> <mutex> <optional> <set> <span> <sstream> <stdexcept> <string> <string_view> <thread>
  <utility> <vector>)

# kr_use_pch(target library|test|bench)
# Gives the target the precompiled headers of its kind, made once per build by a small
# object library of their own. A precompiled header serves only sources compiled with
# the same code-generation flags, and libraries are position-independent code (-fPIC)
# where programs are position-independent executables (-fPIE): hence one per kind.
function(kr_use_pch target kind)
  if(NOT KR_PCH)
    return()
  endif()
  set(host kr_pch_${kind})
  if(NOT TARGET ${host})
    set(source ${CMAKE_BINARY_DIR}/pch/${host}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// Compiles the ${kind} kind's precompiled headers.\n")
    # Built for the targets that use it only: none may, when the benchmarks are left out.
    add_library(${host} OBJECT EXCLUDE_FROM_ALL ${source})
    # A header is precompiled under one set of macros. The platform libraries' flags bring
    # -pthread, which defines _REENTRANT, so it is given to every user of one.
    target_compile_options(${host} PRIVATE ${KR_WARNINGS} -pthread)
    set(headers ${KR_PCH_HEADERS})
    if(kind STREQUAL "library")
      # A precompiled header serves only sources compiled at its own optimisation.
      target_compile_options(${host} PRIVATE ${KR_LIBRARY_OPTIMIZE})
    else()
      set_target_properties(${host} PROPERTIES POSITION_INDEPENDENT_CODE OFF)
      target_compile_options(${host} PRIVATE -fPIE)
    endif()
    if(kind STREQUAL "test")
      target_compile_options(${host} PRIVATE ${KR_TEST_SANITIZE_OPTIONS})
      target_link_libraries(${host} PRIVATE GTest::gtest)
      list(APPEND headers <gtest/gtest.h>)
    elseif(kind STREQUAL "bench")
      target_link_libraries(${host} PRIVATE benchmark::benchmark)
      list(APPEND headers <benchmark/benchmark.h>)
    endif()
    target_precompile_headers(${host} PRIVATE ${headers})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${host})
  target_compile_options(${target} PRIVATE -pthread)
endfunction()

# Where tests and benchmarks find the checkout's files and the build's programs: absolute
# paths, in one generated header that only the sources using them include. Given as
# definitions to a whole test program, they made every source of it miss the compiler
# cache in any other clone.
set(KR_TEST_PATHS_FOLDER ${CMAKE_BINARY_DIR}/generated)
string(CONFIGURE [=[#pragma once
// Generated by cmake/KR.cmake for this build: the checkout's files and the build's programs
// that tests and benchmarks use.

#define KR_EDITOR_XML_FOLDER "@PROJECT_SOURCE_DIR@/resources/xml"
#define KR_EDITOR_SKIN_FILE KR_EDITOR_XML_FOLDER "/APP_SKINS.xml"
#define KR_EDITOR_STRINGS_FILE KR_EDITOR_XML_FOLDER "/APP_STRINGS.xml"
#define KR_LAYOUT_CSV "@PROJECT_SOURCE_DIR@/tests/resources/layout.csv"
#define KR_EDITOR_PROGRAM "$<TARGET_FILE:PresetEditor>"
#define KR_SIMKEYBOARD_PROGRAM "$<TARGET_FILE:simkeyboard>"
]=] kr_test_paths @ONLY)
file(GENERATE OUTPUT ${KR_TEST_PATHS_FOLDER}/TestPaths.h CONTENT "${kr_test_paths}")

# The libraries under src/ are compiled in batches (kr_unity_sources) in the sanitizer
# builds, where every source costs the most. The other builds compile each source alone,
# the fuzz build's clang among them, so a source that leans on what another of its batch
# included, or on a helper of another source's anonymous namespace, still fails in CI.
if(KR_SANITIZE)
  set(kr_unity_libraries_default ON)
else()
  set(kr_unity_libraries_default OFF)
endif()
option(KR_UNITY_LIBRARIES "Compile the sources of each library under src/ in batches" ${kr_unity_libraries_default})

# kr_add_library(name [SHARED] [LIBS ...] [SOURCES ...])
# Without SOURCES, every .cpp/.c of the calling folder is compiled.
function(kr_add_library name)
  cmake_parse_arguments(ARG "SHARED" "" "LIBS;SOURCES" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  endif()
  if(KR_UNITY_LIBRARIES)
    list(SORT ARG_SOURCES)
    kr_unity_sources(${name} ARG_SOURCES ${PROJECT_SOURCE_DIR}/src ${KR_UNITY_LIBRARY_BATCH})
  endif()
  if(ARG_SHARED)
    add_library(${name} SHARED ${ARG_SOURCES})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${KR_WARNINGS} ${KR_LIBRARY_OPTIMIZE})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} Threads::Threads)
  kr_use_pch(${name} library)
  set_property(GLOBAL APPEND PROPERTY KR_CLANG_CHECKED ${name})
endfunction()

# kr_add_program(name [LIBS ...] [SOURCES ...])
function(kr_add_program name)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${KR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Threads::Threads)
  set_property(GLOBAL APPEND PROPERTY KR_CLANG_CHECKED ${name})
endfunction()

# kr_unity_sources(target sources-variable folder batch)
# Replaces the sources below folder (tests/ or src/, each an include folder of the target)
# in the list with sources that include them batch at a time. A source compiled alone
# parses the headers of what it uses and compiles again every template and inline
# function it uses, GoogleTest's included in a test, which under the sanitizers is most of
# a test's time and a third of a library's at -O1; a batch does it once. The
# combined sources name their parts relative to the folder, so they read the same in
# every clone (the compiler cache keys on their text). Every program and library compiles
# as one source too, so moving the batches' bounds as files come and go breaks nothing:
# two sources of one target do not declare the same name at namespace scope.
# Sixteen: a test program's sources compiled in 30 % less time than in batches of eight
# (the same GoogleTest and fixture code made once for twice as many tests). A build on two
# cores (CI's aim) has sources enough to share out; on many, the largest library's few
# batches come last.
set(KR_UNITY_LIBRARY_BATCH 16)
set(KR_UNITY_TEST_BATCH 16)
function(kr_unity_sources target sources_var folder batch_size)
  set(result "")
  set(batch "")
  set(count 0)
  set(index 0)
  list(LENGTH ${sources_var} n_sources)
  if(n_sources LESS 2)
    return()
  endif()
  foreach(source ${${sources_var}})
    get_filename_component(source ${source} ABSOLUTE)
    file(RELATIVE_PATH relative ${folder} ${source})
    if(NOT source MATCHES "\\.cpp$" OR relative MATCHES "^\\.\\.")
      list(APPEND result ${source})
      continue()
    endif()
    string(APPEND batch "#include \"${relative}\"\n")
    math(EXPR count "${count} + 1")
    if(count EQUAL batch_size)
      set(unity ${CMAKE_CURRENT_BINARY_DIR}/${target}_unity/part${index}.cpp)
      file(CONFIGURE OUTPUT ${unity} CONTENT "${batch}")
      list(APPEND result ${unity})
      set(batch "")
      set(count 0)
      math(EXPR index "${index} + 1")
    endif()
  endforeach()
  if(count GREATER 0)
    set(unity ${CMAKE_CURRENT_BINARY_DIR}/${target}_unity/part${index}.cpp)
    file(CONFIGURE OUTPUT ${unity} CONTENT "${batch}")
    list(APPEND result ${unity})
  endif()
  set(${sources_var} ${result} PARENT_SCOPE)
endfunction()

# kr_add_test(name [LIBS ...] [SOURCES ...] [LABELS ...] [RESOURCE_LOCK ...] [ENVIRONMENT ...]
#             [SEPARATE_SOURCES])
# One GoogleTest program per library; each test case becomes one CTest test. Its sources
# are compiled in batches (kr_unity_sources) unless SEPARATE_SOURCES: for a program whose
# sources still declare the same names, until they are renamed.
# LABELS: "threads" also runs under ThreadSanitizer; "jack" needs the JACK server
# that scripts/test starts (and takes the "jack" lock, as the simulated keyboard's
# port names are process-wide; with RESOURCE_LOCK display it takes both locks);
# "display" needs the X server scripts/test starts.
function(kr_add_test name)
  cmake_parse_arguments(ARG "SEPARATE_SOURCES" "" "LIBS;SOURCES;LABELS;RESOURCE_LOCK;ENVIRONMENT" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  list(SORT ARG_SOURCES)
  if(NOT ARG_SEPARATE_SOURCES)
    kr_unity_sources(${name} ARG_SOURCES ${PROJECT_SOURCE_DIR}/tests ${KR_UNITY_TEST_BATCH})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests ${KR_TEST_PATHS_FOLDER})
  target_compile_options(${name} PRIVATE ${KR_WARNINGS} ${KR_TEST_SANITIZE_OPTIONS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  kr_use_pch(${name} test)
  set_property(GLOBAL APPEND PROPERTY KR_CLANG_CHECKED ${name})
  # gtest_discover_tests flattens list-valued properties, so a second label or
  # environment entry would silently become a property name. Refuse it here.
  list(LENGTH ARG_LABELS n_labels)
  list(LENGTH ARG_ENVIRONMENT n_env)
  list(LENGTH ARG_RESOURCE_LOCK n_locks)
  # "jack" may come with the "display" lock: a program that drives the editor's windows and
  # the simulated keyboard holds both.
  set(jack_display FALSE)
  if("jack" IN_LIST ARG_LABELS AND ARG_RESOURCE_LOCK STREQUAL "display")
    set(jack_display TRUE)
    set(n_locks 0)
    set(ARG_RESOURCE_LOCK "")
  endif()
  if(n_labels GREATER 1 OR n_locks GREATER 1 OR n_env GREATER 1 OR ("jack" IN_LIST ARG_LABELS AND (n_env GREATER 0 OR n_locks GREATER 0)))
    message(FATAL_ERROR "kr_add_test(${name}): at most one label, one lock and one environment entry "
      "(\"jack\" already takes the lock and the environment entry, and may add only the \"display\" lock); "
      "split the test program instead.")
  endif()
  set(props TIMEOUT 300)
  if("threads" IN_LIST ARG_LABELS)
    # The ThreadSanitizer pass builds only these.
    if(NOT TARGET kr_threads_tests)
      add_custom_target(kr_threads_tests)
    endif()
    add_dependencies(kr_threads_tests ${name})
  endif()
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  set(locks ${ARG_RESOURCE_LOCK})
  if("jack" IN_LIST ARG_LABELS)
    list(APPEND locks jack)
    list(APPEND ARG_ENVIRONMENT KR_MIDI_API=jack)
  endif()
  if(locks)
    list(APPEND props RESOURCE_LOCK "${locks}")
  endif()
  if(ARG_ENVIRONMENT)
    list(APPEND props ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST PROPERTIES ${props})
  if(jack_display)
    # Two locks make a list, which the discovery's properties would flatten: set them on
    # the discovered tests once their file has been read (ctest reads the directory's
    # include files in order, the discovery's first).
    set(locks_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_locks.cmake)
    file(WRITE ${locks_file}
      "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES RESOURCE_LOCK \"display;jack\")\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${locks_file})
  endif()
endfunction()

# kr_add_bench(name [LIBS ...] [SOURCES ...])
function(kr_add_bench name)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  # Under a sanitizer a benchmark measures the sanitizer: the sanitizer builds (CI's) leave
  # the benchmarks out of "all", which spares CI a sixth of its compile; kr_benchmarks
  # builds them in any build.
  if(KR_SANITIZE)
    add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
  else()
    add_executable(${name} ${ARG_SOURCES})
  endif()
  if(NOT TARGET kr_benchmarks)
    add_custom_target(kr_benchmarks)
  endif()
  add_dependencies(kr_benchmarks ${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${KR_TEST_PATHS_FOLDER})
  target_compile_options(${name} PRIVATE ${KR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main Threads::Threads)
  kr_use_pch(${name} bench)
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/ResourceNames.cmake)
set(KR_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedResources.cmake)

# kr_add_resources(target TYPE type FOLDER folder [NAMING STEM|UPPER_FILE_NAME])
# kr_add_resources(target TYPE type FILES file... [NAMING STEM|UPPER_FILE_NAME])
# Embeds every file of folder (not its subfolders), or the files listed, into the program
# target as resources of that type, found at run time with
# KR::Platform::FindResource(type, name). Names follow NAMING (cmake/ResourceNames.cmake;
# STEM when not given). The table is regenerated at build time when a file changes; adding
# or removing a file of the folder reconfigures. The FILES form takes files the build
# generates, which a glob at configure time cannot see.
# Only programs, shared libraries and object libraries (whose objects their users link
# whole): a table inside a static library would be dropped by the linker, as nothing
# refers to it by name.
function(kr_add_resources target)
  cmake_parse_arguments(ARG "" "TYPE;FOLDER;NAMING" "FILES" ${ARGN})
  if(NOT ARG_TYPE OR (NOT ARG_FOLDER AND NOT ARG_FILES) OR (ARG_FOLDER AND ARG_FILES))
    message(FATAL_ERROR "kr_add_resources(${target}): TYPE and either FOLDER or FILES are required")
  endif()
  if(NOT ARG_NAMING)
    set(ARG_NAMING STEM)
  endif()
  get_target_property(kind ${target} TYPE)
  if(NOT kind MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
    message(FATAL_ERROR "kr_add_resources(${target}): resources go into a program, a shared or an object library")
  endif()
  if(ARG_FOLDER)
    get_filename_component(folder ${ARG_FOLDER} ABSOLUTE)
    file(GLOB files LIST_DIRECTORIES false CONFIGURE_DEPENDS ${folder}/*)
    list(FILTER files EXCLUDE REGEX "/\\.[^/]*$")
    get_filename_component(leaf ${folder} NAME)
    set(where "${folder}")
  else()
    set(files "")
    foreach(file ${ARG_FILES})
      get_filename_component(file ${file} ABSOLUTE)
      if(file MATCHES "[|]")
        message(FATAL_ERROR "kr_add_resources(${target}): ${file}: a listed file's path may not hold \"|\"")
      endif()
      list(APPEND files ${file})
    endforeach()
    # One table per list: the hash keeps two lists of one target and type apart.
    string(MD5 hash "${files}")
    string(SUBSTRING ${hash} 0 8 hash)
    set(leaf "files_${hash}")
    set(where "the files listed")
  endif()
  # Two files of one name would leave the second unreachable; say so now.
  set(names "")
  foreach(file ${files})
    kr_resource_name(name ${file} ${ARG_NAMING})
    if(name IN_LIST names)
      message(FATAL_ERROR "kr_add_resources(${target}): two files of ${where} give the resource name ${name}")
    endif()
    list(APPEND names ${name})
  endforeach()
  string(MAKE_C_IDENTIFIER "${target}_${ARG_TYPE}_${leaf}" stem)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${stem}_resources.cpp)
  if(ARG_FOLDER)
    set(source -DFOLDER=${folder})
  else()
    # "|" stands for the list's ";", which would split the argument.
    string(REPLACE ";" "|" joined "${files}")
    set(source -DFILES=${joined})
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} ${source} -DTYPE=${ARG_TYPE} -DNAMING=${ARG_NAMING}
            -DOUTPUT=${output} -P ${KR_EMBED_SCRIPT}
    DEPENDS ${files} ${KR_EMBED_SCRIPT} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/ResourceNames.cmake
    COMMENT "Embedding ${ARG_TYPE} resources of ${where}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
  target_link_libraries(${target} PRIVATE kr_platform_system)
endfunction()

# libFuzzer targets: clang only and off by default, so the everyday build never needs
# clang; scripts/fuzz makes its own build with them and runs each. In that build every
# library is compiled with the fuzzer's coverage and the address and undefined-behaviour
# sanitizers, so a fault deep inside a library is caught and the fuzzing is guided there.
option(KR_FUZZ "Build the libFuzzer targets (clang only)" OFF)
# The fuzz build of scripts/test --sanitize (CI's) is compiled and linked but never run, to
# show what clang alone rejects: without the coverage and sanitizer instrumentation, which
# would find nothing in a program that does not run, it compiles in about two thirds of the
# time. scripts/fuzz, which runs the targets, always instruments.
option(KR_FUZZ_INSTRUMENT "Instrument the fuzz targets and libraries (coverage, sanitizers)" ON)
if(KR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR KR_SANITIZE)
    message(FATAL_ERROR "KR_FUZZ needs clang (libFuzzer) and brings its own sanitizers")
  endif()
  if(KR_FUZZ_INSTRUMENT)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
  endif()
  add_custom_target(kr_fuzzers)
  # Listed afresh on every configure, so a target that went is not run from an old binary.
  file(REMOVE_RECURSE ${CMAKE_BINARY_DIR}/fuzzers)
  # Once every folder has made its targets.
  cmake_language(DEFER CALL kr_add_clang_check)
endif()

# kr_clang_check, in the fuzz build: clang reads, for syntax only with the project's
# warnings as errors, every source of the project's libraries, programs and tests that no
# fuzz target links. The everyday builds use GCC,
# and the fuzz build compiles with clang only what its targets need, so a warning only
# clang gives (-Woverloaded-virtual, -Wchar-subscripts) went unseen in the rest. No code
# is made; the tests are read in their batches (kr_unity_sources), and with the
# precompiled headers of their kind when those are on.
function(kr_add_clang_check)
  get_property(checked GLOBAL PROPERTY KR_CLANG_CHECKED)
  get_property(pending GLOBAL PROPERTY KR_FUZZ_LINKED)
  set(linked "")
  while(pending)
    list(POP_FRONT pending target)
    if(NOT TARGET ${target} OR target IN_LIST linked)
      continue()
    endif()
    get_target_property(imported ${target} IMPORTED)
    if(imported)
      continue()
    endif()
    list(APPEND linked ${target})
    get_target_property(libraries ${target} LINK_LIBRARIES)
    if(libraries)
      list(APPEND pending ${libraries})
    endif()
  endwhile()
  add_custom_target(kr_clang_check)
  foreach(target ${checked})
    if(target IN_LIST linked)
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    get_target_property(folder ${target} SOURCE_DIR)
    get_target_property(kind ${target} TYPE)
    set(files "")
    foreach(source ${sources})
      if(NOT IS_ABSOLUTE ${source})
        set(source ${folder}/${source})
      endif()
      # Generated sources (the resource tables) hold nothing clang would warn of; the
      # tests' batches only include sources of the checkout.
      if(source MATCHES "\\.(cpp|c)$" AND (NOT source MATCHES "^${CMAKE_BINARY_DIR}/" OR source MATCHES "_unity/part[0-9]+\\.cpp$"))
        list(APPEND files ${source})
      endif()
    endforeach()
    if(NOT files)
      continue()
    endif()
    set(check kr_clang_check_${target})
    add_library(${check} OBJECT EXCLUDE_FROM_ALL ${files})
    # The target's own include folders and definitions, its libraries' included; building
    # none of them.
    target_include_directories(${check} PRIVATE $<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>)
    target_compile_definitions(${check} PRIVATE $<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>)
    target_compile_options(${check} PRIVATE ${KR_WARNINGS} -fsyntax-only)
    if(kind STREQUAL "EXECUTABLE")
      set_target_properties(${check} PROPERTIES POSITION_INDEPENDENT_CODE OFF)
      target_compile_options(${check} PRIVATE -fPIE)
    endif()
    get_target_property(test_pch ${target} PRECOMPILE_HEADERS_REUSE_FROM)
    if(test_pch STREQUAL "kr_pch_test")
      # GoogleTest's headers too, through the test program's libraries.
      target_link_libraries(${check} PRIVATE GTest::gtest GTest::gmock)
      kr_use_pch(${check} test)
    elseif(kind MATCHES "LIBRARY$")
      kr_use_pch(${check} library)
    endif()
    add_dependencies(kr_clang_check ${check})
  endforeach()
endfunction()

# kr_add_fuzzer(name [LIBS ...] [SOURCES ...] [SEEDS folder...] [OPTIONS flag...])
# One libFuzzer program (LLVMFuzzerTestOneInput in its sources), part of kr_fuzzers;
# nothing without KR_FUZZ. Without SOURCES, the calling folder's .cpp files. SEEDS are
# folders of sample inputs that scripts/fuzz starts from, OPTIONS libFuzzer flags it
# passes after its own (one per line in fuzzers/<name>.seeds and .options).
function(kr_add_fuzzer name)
  if(NOT KR_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES;SEEDS;OPTIONS" ${ARGN})
  foreach(list SEEDS OPTIONS)
    string(REPLACE ";" "\n" lines "${ARG_${list}}")
    string(TOLOWER ${list} suffix)
    file(WRITE ${CMAKE_BINARY_DIR}/fuzzers/${name}.${suffix} "${lines}")
  endforeach()
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${KR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Threads::Threads)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(kr_fuzzers ${name})
  set_property(GLOBAL APPEND PROPERTY KR_FUZZ_LINKED ${ARG_LIBS})
endfunction()
