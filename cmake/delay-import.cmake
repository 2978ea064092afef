# Delay-load import libraries: a program linked with one loads the DLL the
# first time it calls into it, not when it starts. The export list comes from
# the toolchain's own import library, so every name it links can be delayed.
#   cumulon_delay_import_library(<out variable> <dll base name, e.g. gdiplus>)
function(cumulon_delay_import_library out name)
  find_file(import_${name} lib${name}.a PATHS ${CMAKE_FIND_ROOT_PATH}/lib NO_DEFAULT_PATH REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delay-import)
  set(def ${dir}/${name}.def)
  set(lib ${dir}/lib${name}_delay.a)
  string(REPLACE "gcc-posix" "" prefix "${CMAKE_C_COMPILER}")
  string(REPLACE "gcc" "" prefix "${prefix}")
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND sh -c "{ echo 'LIBRARY ${name}.dll'; echo EXPORTS; ${prefix}nm -g '${import_${name}}' | sed -n 's/^.* I __imp_\\(.*\\)$/\\1/p' | sort -u; } > '${def}'"
    COMMAND ${prefix}dlltool --input-def ${def} --dllname ${name}.dll --output-delaylib ${lib}
    DEPENDS ${import_${name}}
    VERBATIM)
  add_custom_target(delay_${name} DEPENDS ${lib})
  add_library(delay_import_${name} STATIC IMPORTED GLOBAL)
  set_target_properties(delay_import_${name} PROPERTIES IMPORTED_LOCATION ${lib})
  add_dependencies(delay_import_${name} delay_${name})
  set(${out} delay_import_${name} PARENT_SCOPE)
endfunction()
