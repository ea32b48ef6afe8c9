# Native builds carry the opening book inside the engine library, so the
# program reads nothing from disk: resources/book.dat becomes a generated
# source file holding its bytes, remade whenever the book changes. The
# Windows game takes the same bytes from its RCDATA resource instead, so
# EmbeddedBookData exists only in native builds.
#
# This file has two roles. Included by the top-level CMakeLists.txt, it adds
# the generation step to lanterra_engine. Run with cmake -P, it writes the
# source file from BOOK_FILE to OUTPUT.

if(CMAKE_SCRIPT_MODE_FILE)
  set(bytes "")
  set(size 0)
  if(EXISTS "${BOOK_FILE}")
    file(READ "${BOOK_FILE}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    # Sixteen bytes a line keeps the generated file readable in a diff.
    string(REGEX REPLACE "(([0-9a-f][0-9a-f]){16})" "\\1\n" hex "${hex}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  endif()
  if(size EQUAL 0)
    # No book: an array cannot be empty, so hold one byte and report none.
    set(bytes "0")
  endif()
  file(WRITE "${OUTPUT}"
    "// Generated from resources/book.dat by engine/book_data.cmake; do not edit.\n"
    "#include \"engine/book.h\"\n\n"
    "namespace lanterra {\n"
    "namespace {\n"
    "const uint8_t BOOK_BYTES[] = {\n${bytes}\n};\n"
    "}  // namespace\n\n"
    "std::span<const uint8_t> EmbeddedBookData() { return {BOOK_BYTES, ${size}}; }\n"
    "}  // namespace lanterra\n")
  return()
endif()

if(NOT WIN32)
  set(lanterra_book_file ${CMAKE_SOURCE_DIR}/resources/book.dat)
  set(lanterra_book_source ${CMAKE_BINARY_DIR}/generated/book_data.cpp)
  set(lanterra_book_depends ${CMAKE_SOURCE_DIR}/engine/book_data.cmake)
  if(EXISTS ${lanterra_book_file})
    list(APPEND lanterra_book_depends ${lanterra_book_file})
  endif()
  add_custom_command(
    OUTPUT ${lanterra_book_source}
    COMMAND ${CMAKE_COMMAND} -DBOOK_FILE=${lanterra_book_file} -DOUTPUT=${lanterra_book_source}
            -P ${CMAKE_SOURCE_DIR}/engine/book_data.cmake
    DEPENDS ${lanterra_book_depends}
    COMMENT "Embedding the opening book"
    VERBATIM)
  target_sources(lanterra_engine PRIVATE ${lanterra_book_source})
endif()
