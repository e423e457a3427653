# Run by CPack before it builds the .deb: Debian keeps games' executables in
# /usr/games (the game and its match server), while `cmake --install` puts
# them in bin/ of any prefix, where they are on the PATH.
file(GLOB_RECURSE staged LIST_DIRECTORIES false
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/quarnex"
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/quarnex-server")
foreach(executable IN LISTS staged)
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
