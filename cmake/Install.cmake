# Install rules, laid out as the Filesystem Hierarchy Standard expects:
#
#   bin/quorvellearning                  link to the program in its private folder
#   lib/quorvellearning/quorvellearning  the program
#   lib/quorvellearning/<folder>         links to the media library, one per folder
#   share/quorvellearning/<folder>       the media library (architecture-independent)
#   share/applications, share/metainfo, share/icons/hicolor, share/man, share/doc
#
# The program finds its media folders beside its own file, and the toolkit
# takes the program's folder from /proc/self/exe, so the link on the PATH
# still leads there. The links in the private folder keep that rule true
# without moving architecture-independent data out of share. Every link is
# relative, so an unpacked copy under any root works as it would under /.
include(GNUInstallDirs)

set(QUORVEL_MEDIA_FOLDERS sounds backgrounds shapes shapes1 help)
# The program's private folder (Debian Policy 9.1.1: /usr/lib/<package>).
set(QUORVEL_INSTALL_PROGRAMDIR "lib/quorvellearning")
set(QUORVEL_INSTALL_MEDIADIR "${CMAKE_INSTALL_DATADIR}/quorvellearning")
set(QUORVEL_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvellearning")

set(packaging_src ${CMAKE_SOURCE_DIR}/packaging)
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${packaging_out}/links)

# A relative link at install time: DESTINATION/NAME -> TARGET (both relative to the prefix).
function(quorvel_install_link destination name target)
    file(RELATIVE_PATH relative "/${destination}" "/${target}")
    file(CREATE_LINK ${relative} ${packaging_out}/links/${name} SYMBOLIC)
    install(FILES ${packaging_out}/links/${name} DESTINATION ${destination})
endfunction()

install(TARGETS quorvellearning RUNTIME DESTINATION ${QUORVEL_INSTALL_PROGRAMDIR})
# A stripped install (the package) also drops the compiler's notes, as dh_strip does.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUORVEL_INSTALL_PROGRAMDIR}/quorvellearning\"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()")
quorvel_install_link(${CMAKE_INSTALL_BINDIR} quorvellearning
    ${QUORVEL_INSTALL_PROGRAMDIR}/quorvellearning)

set(data_permissions FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
    DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
foreach(folder IN LISTS QUORVEL_MEDIA_FOLDERS)
    install(DIRECTORY ${QUORVEL_PROGRAM_DIR}/${folder} DESTINATION ${QUORVEL_INSTALL_MEDIADIR}
        ${data_permissions})
    quorvel_install_link(${QUORVEL_INSTALL_PROGRAMDIR} ${folder} ${QUORVEL_INSTALL_MEDIADIR}/${folder})
endforeach()

# Desktop entry, AppStream metadata and the icons at every size the art generator draws.
# The metadata names the web site and its donation page only when there is one.
set(QUORVEL_METAINFO_URLS "")
if(QUORVEL_WEBSITE)
    string(CONCAT QUORVEL_METAINFO_URLS
        "  <url type=\"homepage\">${QUORVEL_WEBSITE}</url>\n"
        "  <url type=\"donation\">${QUORVEL_WEBSITE}/donations.htm</url>\n")
endif()
configure_file(${packaging_src}/quorvellearning.metainfo.xml.in
    ${packaging_out}/${QUORVEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${packaging_src}/quorvellearning.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications RENAME ${QUORVEL_APP_ID}.desktop)
install(FILES ${packaging_out}/${QUORVEL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
set(QUORVEL_ICON_SIZES "")
foreach(art IN LISTS QUORVEL_ART_FILES)
    if(art MATCHES "^icon([0-9]+)\\.png$")
        set(size ${CMAKE_MATCH_1})
        list(APPEND QUORVEL_ICON_SIZES ${size})
        install(FILES ${QUORVEL_ART_DIR}/${art}
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
            RENAME quorvellearning.png)
    endif()
endforeach()

# Manual page and Debian changelog, with the program's version, compressed as
# Debian expects (no name or time stamp in the header, so the same sources give
# the same bytes).
set(compressed "")
foreach(from quorvellearning.1 changelog)
    set(to ${from}.gz)
    configure_file(${packaging_src}/${from}.in ${packaging_out}/${from}.configured @ONLY)
    add_custom_command(OUTPUT ${packaging_out}/${to}
        COMMAND ${CMAKE_COMMAND} -E copy ${packaging_out}/${from}.configured ${packaging_out}/${from}
        COMMAND gzip -9nf ${packaging_out}/${from}
        DEPENDS ${packaging_out}/${from}.configured
        COMMENT "Compressing ${from}")
    list(APPEND compressed ${packaging_out}/${to})
endforeach()
add_custom_target(packaging_docs ALL DEPENDS ${compressed})
install(FILES ${packaging_out}/quorvellearning.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The copyright file names the voice's package, which the build knows.
configure_file(${packaging_src}/copyright.in ${packaging_out}/copyright @ONLY)
install(FILES ${packaging_out}/changelog.gz ${packaging_out}/copyright
    DESTINATION ${QUORVEL_INSTALL_DOCDIR})
