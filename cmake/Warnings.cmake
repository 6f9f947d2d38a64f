# Warnings are errors for our own code; Qt's and GoogleTest's headers come in as system headers.
# The sanitizer and fuzzing builds keep the warnings but not -Werror: the instrumented optimiser
# reports maybe-uninitialized and null-dereference cases that do not exist, and the normal build
# already holds the code to zero warnings.
function(tavoro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                         -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnull-dereference)
  if(NOT TAVORO_SANITIZE AND NOT TAVORO_FUZZ)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# One folder, one target: every .cpp below the folder (tests of the folder live under tests/).
function(tavoro_sources out dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()
