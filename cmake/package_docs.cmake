# Run by CPack in the package's staging folder before the .deb is made: moves the plug-ins to
# /usr/lib/qbrre/PlugIns/ (the program looks there too, see music/winamp.cpp), adds the copyright
# file and a changelog under /usr/share/doc/qbrre/ and compresses the changelog and the manual page as
# Debian packages have them (gzip -9n: the smallest, without a time stamp, so builds are reproducible).
set(usr ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT IS_DIRECTORY ${usr}/bin)
  message(FATAL_ERROR "package_docs: no staging folder at ${usr}")
endif()
file(MAKE_DIRECTORY ${usr}/lib/qbrre)
file(RENAME ${usr}/bin/PlugIns ${usr}/lib/qbrre/PlugIns)
set(doc ${usr}/share/doc/${CPACK_PACKAGE_NAME})
file(MAKE_DIRECTORY ${doc})
file(COPY_FILE ${CPACK_QBRRE_SOURCE_DIR}/data/copyright ${doc}/copyright)
string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${doc}/changelog
     "${CPACK_PACKAGE_NAME} (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium\n\n"
     "  * Built from the source tree; see its history for the changes.\n\n"
     " -- ${CPACK_DEBIAN_PACKAGE_MAINTAINER}  ${date}\n")
foreach(file ${doc}/changelog ${usr}/share/man/man1/qbrre.1)
  execute_process(COMMAND gzip -9nf ${file} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "package_docs: cannot compress ${file}")
  endif()
endforeach()
