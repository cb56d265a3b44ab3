# `make deb`: one wordloom_<version>_amd64.deb of everything `cmake --install` puts in
# place, with its dependencies read from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wordloom)
set(CPACK_PACKAGE_VENDOR "The Wordloom developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop utility to sort, count and convert plain text")
set(CPACK_PACKAGE_DESCRIPTION [=[
Wordloom is a small desktop text utility. Paste text into the input pane,
press one of ten commands, and copy the outcome from the result pane: change
case, keep only printable characters or letters, sort and de-duplicate lines
and words, write each character's code in binary, and count words and
repeated phrases.

The package also holds wordloom-cli, which runs the same commands on files
or standard input.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Wordloom developers <wordloom@example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/wordloom/wordloom)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian's own files (copyright, changelog, compressed manual pages) and stripped
# programs go into the staged tree only, so a plain `cmake --install` stays as it was.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianStaging.cmake)
set(CPACK_WORDLOOM_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_WORDLOOM_STRIP ${CMAKE_STRIP})
include(CPack)
