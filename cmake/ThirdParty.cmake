# Third-party code compiled for the target from the sources that scripts/setup keeps outside git.
set(_sqlite_dir  ${QUARZEL_CACHE}/sqlite)
set(_minizip_dir ${QUARZEL_CACHE}/minizip)
set(_haru_dir    ${QUARZEL_CACHE}/libharu)
set(_mdb_dir     ${QUARZEL_CACHE}/mdbtools)
foreach(_f ${_sqlite_dir}/sqlite3.c ${_minizip_dir}/unzip.c ${_haru_dir}/src/hpdf_doc.c ${_mdb_dir}/src/libmdb/file.c)
  if(NOT EXISTS ${_f})
    message(FATAL_ERROR "${_f} is missing: run scripts/setup")
  endif()
endforeach()

add_library(sqlite3 STATIC ${_sqlite_dir}/sqlite3.c)
target_include_directories(sqlite3 SYSTEM PUBLIC ${_sqlite_dir})
target_compile_definitions(sqlite3 PRIVATE SQLITE_THREADSAFE=0 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DEFAULT_FOREIGN_KEYS=1
                           SQLITE_DQS=0)
target_compile_options(sqlite3 PRIVATE -w)

find_package(ZLIB REQUIRED)
add_library(minizip STATIC ${_minizip_dir}/unzip.c ${_minizip_dir}/zip.c ${_minizip_dir}/ioapi.c ${_minizip_dir}/iowin32.c)
target_include_directories(minizip SYSTEM PUBLIC ${_minizip_dir})
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
target_compile_options(minizip PRIVATE -w)

# libharu, the PDF writer: zlib for compressed streams, no PNG images.
file(GLOB _haru_src ${_haru_dir}/src/*.c)
set(_haru_cfg ${CMAKE_BINARY_DIR}/third_party/libharu)
file(MAKE_DIRECTORY ${_haru_cfg})
file(WRITE ${_haru_cfg}/hpdf_config.h.new
     "#define LIBHPDF_HAVE_LIBZ 1\n#define LIBHPDF_HAVE_NOPNGLIB 1\n#define HPDF_NOPNGLIB 1\n"
     "#define LIBHPDF_HAVE_STDLIB_H 1\n#define LIBHPDF_HAVE_STRING_H 1\n")
file(COPY_FILE ${_haru_cfg}/hpdf_config.h.new ${_haru_cfg}/hpdf_config.h ONLY_IF_DIFFERENT)
add_library(hpdf STATIC ${_haru_src})
target_include_directories(hpdf SYSTEM PUBLIC ${_haru_dir}/include ${_haru_cfg})
target_link_libraries(hpdf PUBLIC ZLIB::ZLIB)
target_compile_options(hpdf PRIVATE -w)

# libmdb, the reader of genuine Access files: its own small glib stand-in, no iconv (the Windows CRT converts the
# texts). Its two headers are generated here the way its configure script would.
set(_mdb_cfg ${CMAKE_BINARY_DIR}/third_party/mdbtools)
file(MAKE_DIRECTORY ${_mdb_cfg})
# A function, so that the substituted names (VERSION, ...) stay out of the project's scope.
function(_mdb_generate_headers)
  file(STRINGS ${_mdb_dir}/configure.ac _init REGEX "^AC_INIT\\(")
  string(REGEX REPLACE "^AC_INIT\\(\\[([^]]*)\\],\\[([^]]*)\\].*" "\\1;\\2" _init "${_init}")
  list(GET _init 0 PACKAGE)
  list(GET _init 1 VERSION)
  set(HAVE_ICONV_H 0)
  set(HAVE_XLOCALE_H 0)
  set(GLIB_INCLUDE_HEADER mdbfakeglib.h)
  set(LOCALE_T _locale_t)
  configure_file(${_mdb_dir}/include/mdbtools.h.in ${_mdb_cfg}/mdbtools.h @ONLY)
  configure_file(${_mdb_dir}/include/mdbver.h.in ${_mdb_cfg}/mdbver.h @ONLY)
endfunction()
_mdb_generate_headers()
set(_mdb_src catalog file table data dump backend money sargs index like write stats map props worktable options iconv
             version rc4 fakeglib)
list(TRANSFORM _mdb_src PREPEND ${_mdb_dir}/src/libmdb/)
list(TRANSFORM _mdb_src APPEND .c)
add_library(mdb STATIC ${_mdb_src})
target_include_directories(mdb SYSTEM PUBLIC ${_mdb_cfg} ${_mdb_dir}/include)
target_compile_definitions(mdb PRIVATE TLS=_Thread_local)
target_compile_options(mdb PRIVATE -w)

# The header-only JSON library from Debian's package, with which tests build their workbook texts; only its own folder is exposed to the cross compiler
# (the host's /usr/include must never be on the target's include path).
set(_json_inc ${CMAKE_BINARY_DIR}/third_party/include)
file(MAKE_DIRECTORY ${_json_inc})
if(NOT EXISTS ${_json_inc}/nlohmann)
  file(CREATE_LINK /usr/include/nlohmann ${_json_inc}/nlohmann SYMBOLIC)
endif()
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${_json_inc})

if(BUILD_TESTING OR NOT DEFINED BUILD_TESTING)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
