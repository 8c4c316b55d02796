# The same sources give the same bytes, whatever folder they are built in and whenever: no time stamp in
# the program's header, and no folder of the source or the build tree in anything a compile writes
# (__FILE__, debug information).
if(NOT MSVC)
  add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=" "-ffile-prefix-map=${PROJECT_BINARY_DIR}/=")
endif()
if(MINGW)
  # The linker writes the link's time into the PE header unless told not to; 0 stands in for it.
  add_link_options(-Wl,--no-insert-timestamp)
endif()
