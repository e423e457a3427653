# Run by CPack before it builds the .deb: Debian keeps games' executables in
# /usr/games (the game and its match server), while `cmake --install` puts
# them in bin/ of any prefix, where they are on the PATH.
# Each package is staged in a folder of its own (game/usr/..., server/usr/...).
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
list(FILTER staged INCLUDE REGEX "/bin/quarnex(-server)?$")
# Debian strips the compiler's notes from its executables as well (as
# dh_strip does): CPack's strip leaves them.
find_program(objcopy NAMES objcopy REQUIRED)
foreach(executable IN LISTS staged)
  execute_process(COMMAND ${objcopy} --remove-section=.comment --remove-section=.note ${executable}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objcopy could not strip ${executable}")
  endif()
  get_filename_component(bin_dir ${executable} DIRECTORY)
  get_filename_component(usr_dir ${bin_dir} DIRECTORY)
  get_filename_component(name ${executable} NAME)
  file(MAKE_DIRECTORY ${usr_dir}/games)
  file(RENAME ${executable} ${usr_dir}/games/${name})
  file(GLOB rest ${bin_dir}/*)
  if(NOT rest)
    file(REMOVE_RECURSE ${bin_dir})
  endif()
endforeach()
