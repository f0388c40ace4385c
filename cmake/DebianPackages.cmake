# The two Debian packages that `cpack` (through scripts/package.sh) makes
# from the install components: quorvant (the desktop program and
# quorvant-cli) and quorvant-collector (the collection server, without the
# desktop libraries). Their dependencies come from the binaries through
# dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvant)
set(CPACK_PACKAGE_VERSION "${QUORVANT_PACKAGE_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Quorvant developers")
set(CPACK_PACKAGE_CONTACT "${QUORVANT_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL desktop collector)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUORVANT_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quorvant.example/")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME quorvant)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION misc)
# The desktop's databases of file types, menu entries and icons: the
# packages that own them refresh them through dpkg triggers when a package
# adds files to their folders, so this package needs no scripts of its own.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS
    "shared-mime-info, desktop-file-utils, hicolor-icon-theme, xdg-utils")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SUGGESTS "quorvant-collector")
set(CPACK_COMPONENT_DESKTOP_DESCRIPTION
    "compose, publish and analyse web surveys
Quorvant takes a questionnaire from its first draft to its results: compose
the survey, publish it as a web form through a collection server, mail the
invitations, download the answers into a local table and analyse them with
counts, charts and printed or web reports.
.
The package holds the desktop program and quorvant-cli, which offers every
operation on the command line.")

set(CPACK_DEBIAN_COLLECTOR_PACKAGE_NAME quorvant-collector)
set(CPACK_DEBIAN_COLLECTOR_PACKAGE_SECTION net)
set(CPACK_COMPONENT_COLLECTOR_DESCRIPTION
    "collection server for published Quorvant surveys
quorvant-collector receives the answers respondents submit from a published
survey page and hands them to the survey's author. It keeps them in SQLite,
or in a PostgreSQL database that several collectors behind a balancer share.
.
The package holds the server and its systemd services; it needs no desktop
libraries.")
# Its scripts let systemd see the units and stop the collectors when the
# package is removed. dpkg wants them under their plain names.
set(_scripts "${CMAKE_BINARY_DIR}/packaging/collector")
set(CPACK_DEBIAN_COLLECTOR_PACKAGE_CONTROL_EXTRA)
foreach(_script postinst prerm postrm)
  configure_file("${CMAKE_SOURCE_DIR}/data/packaging/collector-${_script}" "${_scripts}/${_script}"
                 COPYONLY)
  list(APPEND CPACK_DEBIAN_COLLECTOR_PACKAGE_CONTROL_EXTRA "${_scripts}/${_script}")
endforeach()

include(CPack)
