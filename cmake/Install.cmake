# `cmake --install` lays out the same runnable program folder as build/bin, with the prefix as
# the program folder itself: the executables at its root and their data beside them, because
# the program looks every data file up beside its own executable. The desktop integration
# (icon, launcher, metainfo, menu script) and the portable archive live in packaging/.

# The executables find Qt and the other libraries in the system's library folders; nothing of
# the build tree may stay in their run path once installed.
foreach(scribvane_program IN ITEMS scribvane scribvane-generate scribvane-generate-pictures
                               scribvane-publish)
    if(TARGET ${scribvane_program})
        set_target_properties(${scribvane_program} PROPERTIES INSTALL_RPATH "")
        install(TARGETS ${scribvane_program} RUNTIME DESTINATION .)
    endif()
endforeach()

install(DIRECTORY "${PROJECT_SOURCE_DIR}/Templates/" DESTINATION Templates
    FILES_MATCHING PATTERN "*.tem" PATTERN "*.jpg")

# Spell-check dictionaries are converted into the build's program folder when the build makes
# them; a build without them still installs a working program.
install(DIRECTORY "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/qtwebengine_dictionaries" DESTINATION .
    OPTIONAL)

# As in the build, the sample letter becomes config.dat only when the folder has none: an
# install over a folder where the user has saved a letter must keep that letter.
install(CODE "
    set(scribvane_config \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/config.dat\")
    if(EXISTS \"\${scribvane_config}\" OR IS_SYMLINK \"\${scribvane_config}\")
        message(STATUS \"Keeping: \${scribvane_config}\")
    else()
        message(STATUS \"Installing: \${scribvane_config} (the sample configuration)\")
        execute_process(COMMAND \"${CMAKE_COMMAND}\"
            \"-DSOURCE=${PROJECT_SOURCE_DIR}/Templates/sample-config.dat\"
            \"-DDESTINATION=\${scribvane_config}\"
            -P \"${PROJECT_SOURCE_DIR}/Templates/PlaceSampleConfig.cmake\"
            COMMAND_ERROR_IS_FATAL ANY)
        # Listed like every installed file, so that cpack packs it.
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${scribvane_config}\")
    endif()
")

add_subdirectory(${PROJECT_SOURCE_DIR}/packaging ${PROJECT_BINARY_DIR}/packaging)
