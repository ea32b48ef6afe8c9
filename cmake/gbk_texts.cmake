# The texts the program shows are GBK (code page 936) byte strings, but the
# source keeps them readable in UTF-8: a header NAME.h.in writes each one as
# GBK("..."), and this file turns it into NAME.h with the literal's GBK bytes
# as octal escapes, converted by iconv at build time.
#
# This file has two roles. Included, it defines lanterra_gbk_header(). Run
# with cmake -P, it converts INPUT to OUTPUT with the iconv program ICONV.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.20)
  file(READ "${INPUT}" text)
  set(result "// Generated from ${INPUT} by cmake/gbk_texts.cmake; do not edit.\n")
  set(part "${OUTPUT}.part")
  while(TRUE)
    string(FIND "${text}" "GBK(\"" at)
    if(at EQUAL -1)
      break()
    endif()
    string(SUBSTRING "${text}" 0 ${at} before)
    string(APPEND result "${before}")
    math(EXPR start "${at} + 5")
    string(SUBSTRING "${text}" ${start} -1 text)
    string(FIND "${text}" "\")" end)
    if(end EQUAL -1)
      message(FATAL_ERROR "${INPUT}: GBK(\" without its closing \")")
    endif()
    string(SUBSTRING "${text}" 0 ${end} literal)
    math(EXPR start "${end} + 2")
    string(SUBSTRING "${text}" ${start} -1 text)

    file(WRITE "${part}" "${literal}")
    execute_process(COMMAND "${ICONV}" -f UTF-8 -t GBK "${part}"
                    OUTPUT_FILE "${part}.gbk" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "${INPUT}: iconv cannot write \"${literal}\" in GBK")
    endif()
    file(READ "${part}.gbk" hex HEX)
    string(LENGTH "${hex}" digits)
    # ASCII bytes, escape sequences included, stay as written. A byte of
    # 0x81 or more opens a two-byte character, and both bytes become octal
    # escapes: the second may be a backslash or a letter, and three octal
    # digits never swallow a digit written after them.
    set(escaped "")
    set(trail FALSE)
    set(i 0)
    while(i LESS digits)
      string(SUBSTRING "${hex}" ${i} 2 byte)
      math(EXPR value "0x${byte}")
      if(trail OR value GREATER_EQUAL 129)
        math(EXPR high "${value} / 64")
        math(EXPR middle "(${value} / 8) % 8")
        math(EXPR low "${value} % 8")
        string(APPEND escaped "\\${high}${middle}${low}")
        if(trail)
          set(trail FALSE)
        else()
          set(trail TRUE)
        endif()
      else()
        string(ASCII ${value} character)
        string(APPEND escaped "${character}")
      endif()
      math(EXPR i "${i} + 2")
    endwhile()
    string(APPEND result "\"${escaped}\"")
  endwhile()
  string(APPEND result "${text}")
  file(REMOVE "${part}" "${part}.gbk")
  file(WRITE "${OUTPUT}" "${result}")
  return()
endif()

find_program(LANTERRA_ICONV iconv REQUIRED)

# Generates ${CMAKE_BINARY_DIR}/generated/<header> from <header>.in in the
# source tree and lets target (and whoever links it) include it as
# "<header>".
function(lanterra_gbk_header target header)
  set(input ${CMAKE_SOURCE_DIR}/${header}.in)
  set(output ${CMAKE_BINARY_DIR}/generated/${header})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DICONV=${LANTERRA_ICONV}
            -P ${CMAKE_SOURCE_DIR}/cmake/gbk_texts.cmake
    DEPENDS ${input} ${CMAKE_SOURCE_DIR}/cmake/gbk_texts.cmake
    COMMENT "Writing the GBK texts of ${header}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
  target_include_directories(${target} PUBLIC ${CMAKE_BINARY_DIR}/generated)
endfunction()
