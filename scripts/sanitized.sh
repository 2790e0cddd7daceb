# shellcheck shell=bash
# The sanitized build (AddressSanitizer, UndefinedBehaviorSanitizer and the libFuzzer
# targets, with clang) in its own folder next to the normal one. Sourced by scripts/test
# and scripts/fuzz. Light optimisation and line tables only: the reports name file and
# line, and the build stays quick enough to redo on every test run.
sanitized_configure() {  # sanitized_configure SOURCE BUILD
  CC=clang CXX=clang++ cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Sanitized \
    -DCMAKE_C_FLAGS_SANITIZED="-O1 -gline-tables-only" \
    -DCMAKE_CXX_FLAGS_SANITIZED="-O1 -gline-tables-only" \
    -DTOVEL_SANITIZE=ON -DTOVEL_FUZZ=ON -DTOVEL_BUILD_BENCH=OFF -DTOVEL_WERROR=OFF >/dev/null
}

# Every report ends the process with a failure; leaks count, apart from the third-party
# ones listed in the suppressions file. Allocation stacks are walked by frame pointers (the
# build keeps them): the slow unwinder on every allocation made the suite several times
# slower, and a report's frames in our code are the same.
sanitized_environment() {  # sanitized_environment SOURCE
  export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:fast_unwind_on_malloc=1:abort_on_error=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  export LSAN_OPTIONS="suppressions=$1/tests/sanitizers/lsan.supp:print_suppressions=0"
}

# The fuzz targets, one per parser of outside input (fuzz/<name>_fuzz.cpp).
sanitized_fuzz_targets() {
  echo base64 ini ftplisting archivelisting pathlist manifest sftp griddesign
}
