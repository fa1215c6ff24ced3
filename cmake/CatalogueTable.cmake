cmake_minimum_required(VERSION 3.25)
# Turns the English catalogue (translations/kolvaro_en.ts) into a C++ table for the
# programs without Qt: every finished message's source text and translation, as raw
# string literals, in the catalogue's order.
#   cmake -DCATALOGUE=kolvaro_en.ts -DOUTPUT=EnglishCatalogue.cpp -P CatalogueTable.cmake
file(READ "${CATALOGUE}" text)

function(unescape input output)
  string(REPLACE "&lt;" "<" value "${input}")
  string(REPLACE "&gt;" ">" value "${value}")
  string(REPLACE "&quot;" "\"" value "${value}")
  string(REPLACE "&apos;" "'" value "${value}")
  string(REPLACE "&amp;" "&" value "${value}")
  set(${output} "${value}" PARENT_SCOPE)
endfunction()

# Between the first `open` at or after `from` and the next `close`: the text in `out`,
# and in `next` where the search goes on (-1 when there is none).
function(between open close from out next)
  string(SUBSTRING "${text}" ${from} -1 rest)
  string(FIND "${rest}" "${open}" start)
  if(start EQUAL -1)
    set(${next} -1 PARENT_SCOPE)
    return()
  endif()
  string(LENGTH "${open}" openLength)
  math(EXPR start "${start} + ${openLength}")
  string(SUBSTRING "${rest}" ${start} -1 rest)
  string(FIND "${rest}" "${close}" length)
  string(SUBSTRING "${rest}" 0 ${length} inner)
  set(${out} "${inner}" PARENT_SCOPE)
  math(EXPR after "${from} + ${start} + ${length}")
  set(${next} ${after} PARENT_SCOPE)
endfunction()

set(body "")
set(position 0)
while(TRUE)
  between("<source>" "</source>" ${position} source position)
  if(position EQUAL -1)
    break()
  endif()
  between("<translation" "</translation>" ${position} translation position)
  # The element's attributes end at its first ">"; an unfinished one has nothing to give.
  string(FIND "${translation}" ">" close)
  string(SUBSTRING "${translation}" 0 ${close} attributes)
  math(EXPR close "${close} + 1")
  string(SUBSTRING "${translation}" ${close} -1 translation)
  if(attributes MATCHES "unfinished|vanished|obsolete" OR translation STREQUAL "")
    continue()
  endif()
  unescape("${source}" source)
  unescape("${translation}" translation)
  string(APPEND body "    {R\"kolvaro(${source})kolvaro\", R\"kolvaro(${translation})kolvaro\"},\n")
endwhile()

file(WRITE "${OUTPUT}.new" "// Made by cmake/CatalogueTable.cmake from the English catalogue; not to be edited.
#include \"cli/EnglishCatalogue.h\"

namespace kolvaro::cli {

const CataloguePair EnglishCatalogue[] = {
${body}};
const std::size_t EnglishCatalogueSize = sizeof EnglishCatalogue / sizeof EnglishCatalogue[0];

}  // namespace kolvaro::cli
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
