# The Windows package: ferrolux-<version>-windows-x64.zip holding the programs, the catalog, its
# notice, a README for Windows and the manual pages as text. `cmake --build . --target windows_zip`.
find_program(GROFF groff REQUIRED)
set(zip_name ferrolux-${PROJECT_VERSION}-windows-x64)
set(stage ${CMAKE_BINARY_DIR}/${zip_name})
set(zip ${CMAKE_BINARY_DIR}/${zip_name}.zip)

set(programs ferrolux-fit)
if(TARGET ferrolux)
  list(PREPEND programs ferrolux)
endif()
set(program_files)
foreach(program IN LISTS programs)
  list(APPEND program_files $<TARGET_FILE:${program}>)
endforeach()

# The manual pages as plain UTF-8 text: no overstrike for bold, no escape sequences for colour.
set(pages)
foreach(page ferrolux ferrolux-fit)
  add_custom_command(OUTPUT ${stage}/${page}.txt
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
                     COMMAND ${CMAKE_COMMAND} -E env GROFF_NO_SGR=1 ${GROFF} -man -Tutf8 -P-c -P-b -P-u
                             ${PROJECT_SOURCE_DIR}/man/${page}.1 > ${stage}/${page}.txt
                     DEPENDS ${PROJECT_SOURCE_DIR}/man/${page}.1 VERBATIM)
  list(APPEND pages ${stage}/${page}.txt)
endforeach()

add_custom_command(OUTPUT ${zip}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
                   COMMAND ${CMAKE_COMMAND} -E copy ${program_files} ${stage}
                   COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/CableCatalog.txt
                           ${PROJECT_SOURCE_DIR}/data/NOTICE ${stage}
                   COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/windows-readme.txt ${stage}/README.txt
                   COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
                   COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${zip_name}
                   WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                   DEPENDS ${programs} ${pages} ${PROJECT_SOURCE_DIR}/data/CableCatalog.txt ${PROJECT_SOURCE_DIR}/data/NOTICE
                           ${PROJECT_SOURCE_DIR}/docs/windows-readme.txt
                   VERBATIM)
add_custom_target(windows_zip DEPENDS ${zip})
