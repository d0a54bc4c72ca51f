# Every target of ours compiles with the same warnings; call orv_warnings(target).
function(orv_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /utf-8 /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                                             -Wnon-virtual-dtor -Wcast-qual -Wformat=2)
  endif()
endfunction()
