# kolvaro_warnings(target): the project's warning set. CI builds make them errors with
# CMAKE_COMPILE_WARNING_AS_ERROR (the presets set it).
function(kolvaro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports std::string concatenation inlined at -O2 as an overlapping
    # memcpy (GCC bug 105329): a false positive in libstdc++, not in our code.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
