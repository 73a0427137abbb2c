# CLI11 and nlohmann-json for a Windows build: Debian's header-only packages, offered through a
# folder that holds those two header folders alone, never all of /usr/include (whose C library
# headers would shadow MinGW's). find_package finds the small package files written here.
set(header_only ${CMAKE_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${header_only}/include)
foreach(folder CLI nlohmann)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: tools/setup-packages --windows installs it")
  endif()
  file(CREATE_LINK /usr/include/${folder} ${header_only}/include/${folder} SYMBOLIC)
endforeach()

function(ferrolux_header_only_package package target version)
  set(dir ${header_only}/${package})
  file(WRITE ${dir}/${package}Config.cmake
       "if(NOT TARGET ${target})\n"
       "  add_library(${target} INTERFACE IMPORTED)\n"
       "  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${header_only}/include)\n"
       "endif()\n")
  file(WRITE ${dir}/${package}ConfigVersion.cmake
       "set(PACKAGE_VERSION ${version})\n"
       "set(PACKAGE_VERSION_COMPATIBLE TRUE)\n")
  set(${package}_DIR ${dir} CACHE PATH "" FORCE)
endfunction()

ferrolux_header_only_package(CLI11 CLI11::CLI11 2)
ferrolux_header_only_package(nlohmann_json nlohmann_json::nlohmann_json 3)
