# kolvaro_warnings(target): the project's warning set, errors in CI builds.
function(kolvaro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
  if(KOLVARO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
