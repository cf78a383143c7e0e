# Build number from git describe at configure time ("0" outside a checkout).
execute_process(
  COMMAND git describe --always --dirty --tags
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  OUTPUT_VARIABLE ORVELLA_BUILD_ID
  OUTPUT_STRIP_TRAILING_WHITESPACE
  ERROR_QUIET)
if(NOT ORVELLA_BUILD_ID)
  set(ORVELLA_BUILD_ID "0")
endif()
# The full commit the build was configured from, for --version.
execute_process(
  COMMAND git rev-parse HEAD
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  OUTPUT_VARIABLE ORVELLA_COMMIT
  OUTPUT_STRIP_TRAILING_WHITESPACE
  ERROR_QUIET)
if(NOT ORVELLA_COMMIT)
  set(ORVELLA_COMMIT "unknown")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in ${PROJECT_BINARY_DIR}/generated/orvella_version.h @ONLY)
