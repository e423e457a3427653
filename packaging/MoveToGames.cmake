# Run by CPack before it builds the .deb: Debian keeps games' executables in
# /usr/games, while `cmake --install` puts the game in bin/ of any prefix,
# where it is on the PATH.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/quarnex")
foreach(executable IN LISTS staged)
  get_filename_component(bin_dir ${executable} DIRECTORY)
  get_filename_component(usr_dir ${bin_dir} DIRECTORY)
  file(MAKE_DIRECTORY ${usr_dir}/games)
  file(RENAME ${executable} ${usr_dir}/games/quarnex)
  file(GLOB rest ${bin_dir}/*)
  if(NOT rest)
    file(REMOVE_RECURSE ${bin_dir})
  endif()
endforeach()
