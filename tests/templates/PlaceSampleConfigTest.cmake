# Runs Templates/PlaceSampleConfig.cmake against each kind of program folder and checks that the
# sample arrives only where no config.dat is, and that a user's file is never touched.
# Arguments: -DPLACE_SCRIPT=<PlaceSampleConfig.cmake> -DSAMPLE=<sample-config.dat> -DWORK=<folder>
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(READ "${SAMPLE}" sample_bytes HEX)

function(place folder)
    execute_process(COMMAND "${CMAKE_COMMAND}" "-DSOURCE=${SAMPLE}"
        "-DDESTINATION=${folder}/config.dat" -P "${PLACE_SCRIPT}"
        RESULT_VARIABLE result ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "placing into ${folder} failed: ${errors}")
    endif()
    if(EXISTS "${folder}/config.dat.part")
        message(FATAL_ERROR "${folder}: the temporary copy was left behind")
    endif()
endfunction()

function(expect_bytes file expected_hex what)
    file(READ "${file}" actual HEX)
    if(NOT actual STREQUAL expected_hex)
        message(FATAL_ERROR "${what}: ${file} does not hold the expected bytes")
    endif()
endfunction()

# No config.dat yet, in a folder that does not exist yet either: the sample arrives whole.
place("${WORK}/fresh/bin")
expect_bytes("${WORK}/fresh/bin/config.dat" "${sample_bytes}" "fresh folder")

# A saved configuration stays exactly as it is, even an empty one.
foreach(saved "my letter" "")
    set(folder "${WORK}/saved-${saved}")
    file(MAKE_DIRECTORY "${folder}")
    file(WRITE "${folder}/config.dat" "${saved}")
    file(READ "${folder}/config.dat" saved_hex HEX)
    place("${folder}")
    expect_bytes("${folder}/config.dat" "${saved_hex}" "saved configuration '${saved}'")
endforeach()

# Something else by that name is not replaced: a folder, or a link whose target is missing.
file(MAKE_DIRECTORY "${WORK}/folder/config.dat")
place("${WORK}/folder")
if(NOT IS_DIRECTORY "${WORK}/folder/config.dat")
    message(FATAL_ERROR "a folder named config.dat was replaced")
endif()

file(MAKE_DIRECTORY "${WORK}/link")
file(CREATE_LINK "${WORK}/link/missing.dat" "${WORK}/link/config.dat" SYMBOLIC)
place("${WORK}/link")
if(EXISTS "${WORK}/link/missing.dat")
    message(FATAL_ERROR "the sample was written through a dangling link")
endif()

# Placing twice changes nothing the second time.
file(WRITE "${WORK}/fresh/bin/config.dat" "edited after the first build")
place("${WORK}/fresh/bin")
expect_bytes("${WORK}/fresh/bin/config.dat" "65646974656420616674657220746865206669727374206275696c64"
    "second build")

file(REMOVE_RECURSE "${WORK}")
