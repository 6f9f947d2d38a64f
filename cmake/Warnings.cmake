# Warnings are errors for our own code; Qt's and GoogleTest's headers come in as system headers.
function(tavoro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                         -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnull-dereference -Werror)
endfunction()

# One folder, one target: every .cpp below the folder (tests of the folder live under tests/).
function(tavoro_sources out dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()
