# One place for the warning set every target of ours compiles with.
add_library(corvane_warnings INTERFACE)
target_compile_options(corvane_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wcast-align
  -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
  -Wimplicit-fallthrough)
# GCC 12 reports -Wrestrict inside std::string's own code at -O2 (GCC bug 105329), a false
# alarm on code we do not write.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(corvane_warnings INTERFACE -Wno-restrict)
endif()
if(CORVANE_WERROR)
  target_compile_options(corvane_warnings INTERFACE -Werror)
endif()

# corvane_library(NAME SOURCES...): a static library of one subsystem folder.
function(corvane_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CORVANE_SOURCE_ROOT})
  target_link_libraries(${name} PRIVATE corvane_warnings)
endfunction()
