# Debian's compiler and linker flags with every hardening feature (stack
# protector, fortified functions, read-only relocations, immediate binding),
# as dpkg-buildflags gives them to any package built on this system. The
# debugging information is left out: the package ships stripped files.
option(QUORVEL_DEBIAN_BUILDFLAGS "Build with the flags of dpkg-buildflags (hardening=+all)" OFF)
if(QUORVEL_DEBIAN_BUILDFLAGS)
    foreach(pair "CPPFLAGS:CMAKE_CXX_FLAGS" "CXXFLAGS:CMAKE_CXX_FLAGS" "LDFLAGS:CMAKE_EXE_LINKER_FLAGS")
        string(REPLACE ":" ";" pair ${pair})
        list(GET pair 0 kind)
        list(GET pair 1 variable)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    dpkg-buildflags --get ${kind}
            # The file prefix map names the folder it runs in: the sources, always.
            WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        string(REGEX REPLACE "(^| )-g( |$)" " " flags "${flags}")
        string(APPEND ${variable} " ${flags}")
    endforeach()
endif()
