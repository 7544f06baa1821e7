# Every target of ours compiles with warnings on and treated as errors.
function(project_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wcast-qual -Werror)
endfunction()

# Windows programs carry their C++ runtime inside, so that they run on a
# Windows with nothing installed and import system DLLs only.
function(windows_static_runtime target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()
