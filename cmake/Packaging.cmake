# The Debian package: `cpack --config <build>/CPackConfig.cmake` (scripts/package.sh)
# writes velmora_<version>_<arch>.deb from what `cmake --install` puts in place.
# Included before the subdirectories so that the folders their install rules
# create are 0755 (under a umask of 022, which scripts/package.sh sets).

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Where the project lives on the web; the AppStream file's links and
# screenshots hang off it. Set it when building a package for publication.
set(VELMORA_HOMEPAGE "https://velmora.example.org" CACHE STRING
    "The project's home page, linked from the package and its AppStream file")
# The desktop program's AppStream id: reverse DNS of a domain the project
# holds, lower case, and never changed once published.
set(VELMORA_APPSTREAM_ID "org.example.velmora" CACHE STRING
    "The AppStream component id; the metainfo file is named after it")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "The Velmora developers")
set(CPACK_PACKAGE_CONTACT "The Velmora developers <dev@velmora.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "gearbox input-shaft bearing load and life calculator")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGE_INSTALL_DIRECTORY velmora)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed programs lose their symbol tables: the package ships no debug data.
set(CPACK_STRIP_FILES ON)
# Only the package: no source archive beside it.
set(CPACK_SOURCE_GENERATOR "")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VELMORA_HOMEPAGE}")
# The long description under the summary line; an empty line parts paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Velmora estimates the radial load on a light truck's gearbox input-shaft
bearing and that bearing's L10 life while the truck is driven in fourth or
fifth gear. Pick an engine, an axle ratio, tyres and a body, change losses,
aerodynamics, load and gradient, press the gas pedal and watch speed, power,
torque, resistance, force available, bearing load and life move.

A life map draws the life against road speed, and a duty list of driving
segments gives the combined life over the distance (Palmgren-Miner).
The package also holds velmora-sim, which runs the same model from the
command line without a window and prints csv or JSON rows.")
# The shared libraries (Qt Widgets, Charts and SVG, the C++ runtime) come from
# dpkg-shlibdeps; the faces the window draws with are files it looks up by
# name, which no linker sees.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra, fonts-liberation")

include(CPack)
