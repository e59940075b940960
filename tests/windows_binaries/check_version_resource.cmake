# Reads the version resource back from a built Windows binary and compares it with the project's
# version: the fixed file and product versions (VS_FIXEDFILEINFO) and the FileVersion and
# ProductVersion texts, and the Comments text with the binding's Maven coordinates. Fails with one
# line per difference.
#
#   cmake -DBINARY=<file> -DVERSION=<major.minor.patch> -DCOORDINATES=<group:artifact:version>
#         -P check_version_resource.cmake

cmake_minimum_required(VERSION 3.25)

foreach(required IN ITEMS BINARY VERSION COORDINATES)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "check_version_resource.cmake needs -D${required}=...")
  endif()
endforeach()
if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "VERSION is major.minor.patch, not ${VERSION}")
endif()
set(expected_parts ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} 0)

file(READ "${BINARY}" bytes HEX)
set(failures "")

# A little-endian 32-bit word at a byte offset of the hex text.
function(word_at offset out)
  math(EXPR at "${offset} * 2")
  string(SUBSTRING "${bytes}" ${at} 8 hex)
  string(SUBSTRING "${hex}" 6 2 b3)
  string(SUBSTRING "${hex}" 4 2 b2)
  string(SUBSTRING "${hex}" 2 2 b1)
  string(SUBSTRING "${hex}" 0 2 b0)
  math(EXPR value "0x${b3}${b2}${b1}${b0}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

# VS_FIXEDFILEINFO begins with its signature 0xFEEF04BD; the file version follows the structure's
# version, most significant word first, then the product version.
string(FIND "${bytes}" "bd04effe" signature)
math(EXPR odd "${signature} % 2")
if(signature EQUAL -1 OR odd)
  list(APPEND failures "no VS_FIXEDFILEINFO: the binary has no version resource")
else()
  math(EXPR start "${signature} / 2")
  foreach(kind IN ITEMS file product)
    if(kind STREQUAL "file")
      math(EXPR high "${start} + 8")
    else()
      math(EXPR high "${start} + 16")
    endif()
    math(EXPR low "${high} + 4")
    word_at(${high} ms)
    word_at(${low} ls)
    math(EXPR major "${ms} >> 16")
    math(EXPR minor "${ms} & 0xFFFF")
    math(EXPR patch "${ls} >> 16")
    math(EXPR build "${ls} & 0xFFFF")
    if(NOT "${major};${minor};${patch};${build}" STREQUAL "${expected_parts}")
      list(APPEND failures
        "the fixed ${kind} version is ${major}.${minor}.${patch}.${build}, not ${VERSION}.0")
    endif()
  endforeach()
endif()

# A text as UTF-16LE hex.
function(utf16_hex text out)
  string(HEX "${text}" ascii)
  string(REGEX REPLACE "(..)" "\\100" wide "${ascii}")
  set(${out} "${wide}" PARENT_SCOPE)
endfunction()

# Each text value follows its key's terminator and the padding to a 32-bit boundary.
set(FileVersion_expected "${VERSION}")
set(ProductVersion_expected "${VERSION}")
set(Comments_expected "Java binding ${COORDINATES}")
foreach(key IN ITEMS FileVersion ProductVersion Comments)
  utf16_hex("${key}" key_hex)
  string(FIND "${bytes}" "${key_hex}0000" at)
  if(at EQUAL -1)
    list(APPEND failures "no ${key} text in the version resource")
    continue()
  endif()
  string(SUBSTRING "${bytes}" ${at} 400 after)
  string(LENGTH "${key_hex}0000" skip)
  string(SUBSTRING "${after}" ${skip} -1 after)
  while(after MATCHES "^0000")
    string(SUBSTRING "${after}" 4 -1 after)
  endwhile()
  # The value's code units, each an ASCII byte and a zero byte, up to the terminator.
  set(value "")
  string(SUBSTRING "${after}" 0 4 unit)
  while(unit MATCHES "^([0-7][0-9a-f])00$" AND NOT unit STREQUAL "0000")
    math(EXPR code "0x${CMAKE_MATCH_1}")
    string(ASCII ${code} char)
    string(APPEND value "${char}")
    string(SUBSTRING "${after}" 4 -1 after)
    string(SUBSTRING "${after}" 0 4 unit)
  endwhile()
  if(NOT value STREQUAL ${key}_expected)
    list(APPEND failures "the ${key} text is \"${value}\", not \"${${key}_expected}\"")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${BINARY}:\n${text}\n")
endif()
message(STATUS "${BINARY}: version ${VERSION} in its version resource")
