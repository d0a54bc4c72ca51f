# orv_delay_load(<target> <library>...): the target loads each named system library when it
# first calls into it instead of at start. A delay-import library, made by dlltool from every
# export the toolchain's import library names, stands first in the target's library search
# path under the same name, so the target's own `-l<library>` finds it and other targets keep
# the ordinary import.
function(orv_delay_load target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}-delay-load)
  foreach(library IN LISTS ARGN)
    find_library(ORV_IMPORT_${library} NAMES lib${library}.a REQUIRED NO_CACHE)
    execute_process(COMMAND ${CMAKE_NM} -P --defined-only ${ORV_IMPORT_${library}}
                    OUTPUT_VARIABLE symbols ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "__imp_[A-Za-z0-9_@?$]+" names "${symbols}")
    list(TRANSFORM names REPLACE "^__imp_" "")
    list(REMOVE_DUPLICATES names)
    list(JOIN names "\n" exports)
    file(CONFIGURE OUTPUT ${dir}/${library}.def CONTENT "LIBRARY ${library}.dll\nEXPORTS\n${exports}\n")
    add_custom_command(OUTPUT ${dir}/lib${library}.a
                       COMMAND ${CMAKE_DLLTOOL} -d ${dir}/${library}.def -y ${dir}/lib${library}.a
                       DEPENDS ${dir}/${library}.def VERBATIM)
    add_custom_target(${target}_delay_${library} DEPENDS ${dir}/lib${library}.a)
    add_dependencies(${target} ${target}_delay_${library})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${dir}/lib${library}.a)
  endforeach()
  target_link_directories(${target} BEFORE PRIVATE ${dir})
endfunction()
