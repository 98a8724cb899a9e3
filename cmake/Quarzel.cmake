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
