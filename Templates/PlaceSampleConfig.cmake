# Build step: lays the sample configuration down as config.dat unless one is already there.
# Arguments: -DSOURCE=<sample file> -DDESTINATION=<config.dat beside the executables>.
if(NOT DEFINED SOURCE OR NOT DEFINED DESTINATION)
    message(FATAL_ERROR "PlaceSampleConfig.cmake needs SOURCE and DESTINATION")
endif()
# A dangling link or a folder of that name counts as "there" too: never replace what we did not
# put there.
if(EXISTS "${DESTINATION}" OR IS_SYMLINK "${DESTINATION}")
    return()
endif()
cmake_path(GET DESTINATION PARENT_PATH folder)
file(MAKE_DIRECTORY "${folder}")
# Copy under a temporary name first, so an interrupted build never leaves half a config.dat.
file(COPY_FILE "${SOURCE}" "${DESTINATION}.part")
# NO_REPLACE: if someone saved a config.dat meanwhile, theirs wins. It may work by linking, so
# the temporary name is removed either way.
file(RENAME "${DESTINATION}.part" "${DESTINATION}" RESULT renamed NO_REPLACE)
file(REMOVE "${DESTINATION}.part")
