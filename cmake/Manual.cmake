# The operator's manual OrvellaUM.pdf from docs/manual/*.md, when pandoc and
# weasyprint are installed; without them the build goes on without it (Help
# then says the manual cannot be opened). It lands beside the programs of the
# build and is installed with the read-only data.
find_program(ORVELLA_PANDOC pandoc)
find_program(ORVELLA_WEASYPRINT weasyprint)
if(NOT ORVELLA_PANDOC OR NOT ORVELLA_WEASYPRINT)
  message(STATUS "pandoc or weasyprint not found: OrvellaUM.pdf is not built")
  return()
endif()
set(manual_dir ${PROJECT_SOURCE_DIR}/docs/manual)
file(GLOB manual_pages CONFIGURE_DEPENDS ${manual_dir}/*.md)
list(SORT manual_pages)
file(GLOB manual_pictures ${PROJECT_SOURCE_DIR}/docs/screenshots/*.png)
set(manual ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/OrvellaUM.pdf)
add_custom_command(
  OUTPUT ${manual}
  COMMAND ${ORVELLA_PANDOC} ${manual_pages} --from markdown --standalone --metadata title=Orvella
          --variable lang=ja --css ${manual_dir}/manual.css --resource-path ${manual_dir}
          --pdf-engine ${ORVELLA_WEASYPRINT} --output ${manual}
  WORKING_DIRECTORY ${manual_dir}
  DEPENDS ${manual_pages} ${manual_dir}/manual.css ${manual_pictures}
  COMMENT "Building the manual OrvellaUM.pdf")
add_custom_target(orvella_manual ALL DEPENDS ${manual})
add_dependencies(orvella_installed orvella_manual)
# Help opens it from beside the executable.
add_dependencies(orvella orvella_manual)
install(FILES ${manual} DESTINATION ${ORVELLA_INSTALL_DATADIR})
