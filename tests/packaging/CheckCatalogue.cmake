# Runs lupdate over the sources into a copy of the English catalogue and fails when the
# copy holds an unfinished translation (a text marked or changed since the catalogue was
# last updated) or differs from the catalogue in any other way (a text gone). The fix:
# `cmake --build <dir> --target update_translations`, then translate what lupdate added
# (see README.md, "Translations").
include(${INPUTS})
set(copy ${WORK_DIR}/kolvaro_en.check.ts)
configure_file(${CATALOGUE} ${copy} COPYONLY)
execute_process(
  COMMAND ${LUPDATE} -silent -I ${INCLUDE_DIR} ${LUPDATE_OPTIONS} ${SOURCES} -ts ${copy}
  RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${result}): ${errors}")
endif()

file(READ ${copy} updated)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"" unfinished "${updated}")
list(LENGTH unfinished count)
if(count GREATER 0)
  string(REPLACE ";" "\n" listed "${unfinished}")
  message(FATAL_ERROR "${count} text(s) without an English translation:\n${listed}")
endif()
file(READ ${CATALOGUE} committed)
if(NOT updated STREQUAL committed)
  message(FATAL_ERROR "translations/kolvaro_en.ts is out of date with the sources; compare it with ${copy}")
endif()
message(STATUS "The English catalogue covers every marked text")
