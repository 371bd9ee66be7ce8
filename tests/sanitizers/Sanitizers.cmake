# SPDX-License-Identifier: GPL-3.0-or-later
# Test environment of a -DWITH_ASAN=ON build. Any report fails the test that
# caused it, child processes included (they inherit these variables).
set(tessel_sanitizer_dir "${CMAKE_CURRENT_LIST_DIR}")
list(APPEND tessel_test_env
    "ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
    "LSAN_OPTIONS=suppressions=${tessel_sanitizer_dir}/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
