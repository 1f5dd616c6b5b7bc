# Writes the programs' version header (run at every build, rewriting the
# file only when its text changes): the project's version, followed by the
# commit when the sources are a git clone, e.g. "0.1 (git 95ef184)".
#   cmake -DVERSION=0.1 -DSOURCE_DIR=... -DOUTPUT=.../calyx_version.h -P version.cmake
set(text "${VERSION}")
find_program(git_program git)
if(git_program AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${git_program}" describe --always --dirty --tags
    WORKING_DIRECTORY "${SOURCE_DIR}"
    OUTPUT_VARIABLE described RESULT_VARIABLE failed
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT failed AND described)
    set(text "${VERSION} (git ${described})")
  endif()
endif()
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT
"// Written by cmake/version.cmake at build time.
#pragma once
// The version every program shows: the release, and the commit it was built from.
#define CALYX_VERSION \"${text}\"
// The release alone, as the package and the desktop metadata carry it.
#define CALYX_RELEASE \"${VERSION}\"
")
