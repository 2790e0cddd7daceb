# tovel_warnings(<target>): our own targets build with warnings as errors.
# (TOVEL_WERROR off: warnings stay warnings, for builds with another compiler.)
option(TOVEL_WERROR "Treat warnings of our targets as errors" ON)
function(tovel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
    $<$<BOOL:${TOVEL_WERROR}>:-Werror> -Wno-error=deprecated-declarations)
  # In a unity build GCC takes every source after the first for a header and warns about
  # its classes that use its own unnamed namespace; within one source that is sound.
  if(CMAKE_UNITY_BUILD)
    target_compile_options(${target} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-subobject-linkage>)
  endif()
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
endfunction()
