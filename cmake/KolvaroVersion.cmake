# kolvaro_version: an interface library whose one header, kolvaro/Version.h, carries the
# project's version and the desktop application id into every program.
set(KOLVARO_APP_ID org.kolvaro.Kolvaro)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${PROJECT_BINARY_DIR}/generated/kolvaro/Version.h @ONLY)
add_library(kolvaro_version INTERFACE)
target_include_directories(kolvaro_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
