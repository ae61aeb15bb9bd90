# HMK_SANITIZE: AddressSanitizer and UndefinedBehaviorSanitizer on every
# target of this build. Nothing recovers: the first report ends the process
# with a failure, so a test that triggers one fails under ctest.
#
# HMK_FUZZ: builds the libFuzzer targets under tests/fuzz (clang only).
#
# Included before any target is made, so that the flags reach the core, the
# window library, the program and all tests alike.

if(HMK_SANITIZE)
    if(MSVC)
        message(FATAL_ERROR "HMK_SANITIZE needs gcc or clang")
    endif()
    set(HMK_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                            -fno-omit-frame-pointer)
    add_compile_options(${HMK_SANITIZER_FLAGS})
    add_link_options(-fsanitize=address,undefined)
    # The leaks of Qt's and fontconfig's own caches, not of our code; ctest
    # hands the file to every test through LSAN_OPTIONS.
    set(HMK_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/lsan.supp)
    set(HMK_SANITIZER_ENV
        "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
        "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
        "LSAN_OPTIONS=suppressions=${HMK_LSAN_SUPPRESSIONS}:print_suppressions=0")
endif()

if(HMK_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "HMK_FUZZ needs clang (libFuzzer), e.g. -DCMAKE_CXX_COMPILER=clang++-14")
    endif()
    # The core carries coverage hooks for the fuzzers (tests/fuzz); every
    # other program linking it needs their runtime too.
    add_link_options(-fsanitize=fuzzer-no-link)
endif()

# Adds the sanitizer environment to a test's environment (a no-op in an
# ordinary build).
function(hmk_sanitizer_env test)
    if(HMK_SANITIZE)
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${HMK_SANITIZER_ENV})
    endif()
endfunction()
