# Builds for the machines' checks: warnings as errors, AddressSanitizer with
# UndefinedBehaviorSanitizer, and the libFuzzer targets of fuzz/.
option(TARVIK_WERROR "Treat compiler warnings as errors" OFF)
option(TARVIK_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TARVIK_FUZZ "Build the libFuzzer targets in fuzz/ (clang only; implies TARVIK_SANITIZE)" OFF)

if(TARVIK_WERROR)
  add_compile_options(-Werror)
endif()

if(TARVIK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TARVIK_FUZZ needs clang (libFuzzer), e.g. CXX=clang++-14")
  endif()
  set(TARVIK_SANITIZE ON)
  # Coverage for the fuzzer's guidance in every object; only the fuzz targets
  # link libFuzzer's runtime with its main().
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(TARVIK_SANITIZE)
  # Any report ends the run: a sanitizer finding is a failure, never a warning.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # After the build type's flags, so these win: -O1 is the sanitizers' usual
  # level, and line tables are all their reports need and build faster than
  # full debug information.
  add_compile_options(-O1 $<IF:$<CXX_COMPILER_ID:Clang>,-gline-tables-only,-g1>)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
