# Shared settings of the project's own targets: warnings are errors in our code only.
function(quarzel_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-unknown-pragmas
                         $<$<COMPILE_LANGUAGE:CXX>:-Wno-invalid-offsetof>)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# One static library per source folder.
function(quarzel_library target)
  add_library(${target} STATIC ${ARGN})
  quarzel_target(${target})
endfunction()

# The program's resource script and what it includes: windres reports no dependencies of its own, so a change
# to a string table, bitmap, cursor or schema would otherwise not reach the executables.
file(GLOB_RECURSE QUARZEL_RESOURCE_INPUTS CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/res/*
     ${PROJECT_SOURCE_DIR}/src/*.rc2
     ${PROJECT_SOURCE_DIR}/src/*res.h
     ${PROJECT_SOURCE_DIR}/src/ui/res/*
     ${PROJECT_SOURCE_DIR}/src/controls/res/*
     ${PROJECT_SOURCE_DIR}/src/data/schema/*.sql)

function(quarzel_add_resources target)
  set(_rc ${PROJECT_SOURCE_DIR}/res/Quarzel08.rc)
  target_sources(${target} PRIVATE ${_rc})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/res)
  set_source_files_properties(${_rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS "${QUARZEL_RESOURCE_INPUTS}")
endfunction()
