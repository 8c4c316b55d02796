# Warnings are errors on the project's own code (third-party code such as GoogleTest keeps its own flags).
function(slidewell_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Wunused -Woverloaded-virtual
                                             -Wnull-dereference -Wdouble-promotion -Werror)
  endif()
endfunction()
