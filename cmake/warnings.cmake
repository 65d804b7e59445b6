# Every target of the project gets the same warning set; CI adds -Werror.
add_library(kp_warnings INTERFACE)
target_compile_options(kp_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
  -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnull-dereference
  $<$<BOOL:${KP_WERROR}>:-Werror>)
