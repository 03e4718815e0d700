# Run at every build (cmake -P): writes the version header with the project version and the short
# commit of SOURCE_DIR, touching it only when either changed so that nothing else rebuilds.
# Takes SOURCE_DIR, OUTPUT and VERSION.
execute_process(
    COMMAND git -C "${SOURCE_DIR}" rev-parse --short HEAD
    OUTPUT_VARIABLE commit
    OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE failed
    ERROR_QUIET)
if(failed OR commit STREQUAL "")
    set(commit "unknown")
endif()
set(text "#pragma once\n\n#define VYR2_VERSION \"${VERSION}\"\n#define VYR2_COMMIT \"${commit}\"\n")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
    file(WRITE "${OUTPUT}" "${text}")
endif()
