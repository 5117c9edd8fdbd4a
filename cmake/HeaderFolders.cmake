# Include folders that follow the links between the libraries. No target sees the project root:
# each library gets a folder of its own in the build tree, holding links to the headers listed
# among its sources at the path they are included by ("editing/HtmlEditor.h"), and publishes it
# as its include folder. Linking a library is therefore the only way to see its headers, and an
# include across the layering (a window half reaching into app/, a core half into a window half)
# fails to compile instead of slipping through.

set(SCRIBVANE_INCLUDE_ROOT "${CMAKE_BINARY_DIR}/include")

# Lays a link to each header under FOLDER, at the header's path relative to the project root.
# Where the file system refuses links the header is copied; a copy goes stale when the header
# changes, so the build then configures again whenever one of the copied headers does.
function(scribvane_link_headers folder)
    file(REMOVE_RECURSE "${folder}")
    foreach(header IN LISTS ARGN)
        file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${header}")
        if(relative MATCHES "^\\.\\./")
            message(FATAL_ERROR "${header} lies outside the project and cannot be laid in ${folder}")
        endif()
        set(link "${folder}/${relative}")
        cmake_path(GET link PARENT_PATH parent)
        file(MAKE_DIRECTORY "${parent}")
        file(CREATE_LINK "${header}" "${link}" SYMBOLIC COPY_ON_ERROR)
        if(NOT IS_SYMLINK "${link}")
            set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY
                CMAKE_CONFIGURE_DEPENDS "${header}")
        endif()
    endforeach()
endfunction()

# A quoted include is looked up beside the including file before any include folder, so
# "HtmlEditor.h" written in editing/DocumentSerializer.cpp, or "../app/TfrmMain.h" anywhere,
# would get past the folders. Library code therefore names every header of the project by its
# folder and never climbs out of it; checked whenever the build is configured.
function(scribvane_check_include_spelling source)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" included "${line}")
        if(NOT included MATCHES "^[A-Za-z0-9_]+/[^.][^/]*$" AND NOT included MATCHES "\\.moc$")
            message(FATAL_ERROR "${source}: include \"${included}\" as \"folder/Header.h\", "
                "through the include folders of the libraries it links")
        endif()
    endforeach()
endfunction()

# Gives TARGET (a library) its own include folder with the headers among its sources.
function(scribvane_expose_headers target)
    get_target_property(source_dir ${target} SOURCE_DIR)
    get_target_property(sources ${target} SOURCES)
    set(headers)
    foreach(source IN LISTS sources)
        if(source MATCHES "^\\$<")
            continue()
        endif()
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY "${source_dir}" NORMALIZE
            OUTPUT_VARIABLE path)
        if(path MATCHES "\\.(h|cpp)$")
            scribvane_check_include_spelling("${path}")
        endif()
        if(path MATCHES "\\.h$")
            list(APPEND headers "${path}")
        endif()
    endforeach()
    set(folder "${SCRIBVANE_INCLUDE_ROOT}/${target}")
    scribvane_link_headers("${folder}" ${headers})
    target_include_directories(${target} PUBLIC "${folder}")
endfunction()

# Every library defined in the given source folders gets its include folder, and the includes
# of every library and program there are checked for their spelling. Called once all of
# them are defined, so that sources added to a library after its add_library count too.
function(scribvane_expose_library_headers)
    foreach(directory IN LISTS ARGN)
        get_property(targets DIRECTORY "${directory}" PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS targets)
            get_target_property(type ${target} TYPE)
            if(type MATCHES "^(STATIC|SHARED|OBJECT)_LIBRARY$")
                scribvane_expose_headers(${target})
            elseif(type STREQUAL "EXECUTABLE")
                # The programs' own sources follow the same spelling.
                get_target_property(source_dir ${target} SOURCE_DIR)
                get_target_property(sources ${target} SOURCES)
                foreach(source IN LISTS sources)
                    if(source MATCHES "\\.cpp$")
                        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY "${source_dir}"
                            OUTPUT_VARIABLE path)
                        scribvane_check_include_spelling("${path}")
                    endif()
                endforeach()
            endif()
        endforeach()
    endforeach()
endfunction()
