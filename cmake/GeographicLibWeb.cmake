# GeographicLib for the browser build: Debian's source package of the version the desktop links
# (fetched once into the build folder), only the files the magnetic model needs, compiled with
# the project's flags.
set(KELMAR_GEOGRAPHICLIB_SOURCE "" CACHE PATH "GeographicLib's source tree; fetched with apt-get source when empty")
set(geographiclib_src ${KELMAR_GEOGRAPHICLIB_SOURCE})
if(NOT geographiclib_src)
  execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/fetch_geographiclib.sh ${CMAKE_BINARY_DIR}/geographiclib
                  RESULT_VARIABLE fetched)
  if(NOT fetched EQUAL 0)
    message(FATAL_ERROR "could not fetch GeographicLib's source package")
  endif()
  set(geographiclib_src ${CMAKE_BINARY_DIR}/geographiclib/geographiclib-2.1.2)
endif()

# What Debian's build writes into Config.h for a double-precision static library.
set(geographiclib_config ${CMAKE_BINARY_DIR}/geographiclib/include/GeographicLib/Config.h)
file(WRITE ${geographiclib_config}.new
  "#define GEOGRAPHICLIB_VERSION_STRING \"2.1.2\"\n"
  "#define GEOGRAPHICLIB_VERSION_MAJOR 2\n#define GEOGRAPHICLIB_VERSION_MINOR 1\n#define GEOGRAPHICLIB_VERSION_PATCH 2\n"
  "#define GEOGRAPHICLIB_DATA \"/magnetic\"\n"
  "#define GEOGRAPHICLIB_HAVE_LONG_DOUBLE 0\n#define GEOGRAPHICLIB_WORDS_BIGENDIAN 0\n#define GEOGRAPHICLIB_PRECISION 2\n"
  "#define GEOGRAPHICLIB_SHARED_LIB 0\n")
configure_file(${geographiclib_config}.new ${geographiclib_config} COPYONLY)

add_library(kelmar_geographiclib STATIC
  ${geographiclib_src}/src/MagneticModel.cpp
  ${geographiclib_src}/src/MagneticCircle.cpp
  ${geographiclib_src}/src/SphericalEngine.cpp
  ${geographiclib_src}/src/CircularEngine.cpp
  ${geographiclib_src}/src/Geocentric.cpp
  ${geographiclib_src}/src/Math.cpp
  ${geographiclib_src}/src/Utility.cpp
)
target_include_directories(kelmar_geographiclib SYSTEM PUBLIC
  ${CMAKE_BINARY_DIR}/geographiclib/include ${geographiclib_src}/include)
target_compile_options(kelmar_geographiclib PRIVATE -ffp-contract=off -fno-fast-math)
target_compile_options(kelmar_geographiclib PRIVATE -fwasm-exceptions)
target_compile_options(kelmar_geographiclib PRIVATE -w)  # its own code, as Debian ships it
