# Checks a bitmap manifest on its own, as the configure step does, and
# optionally writes what the build would make of it:
#
#   cmake -DMANIFEST=gpws/bitmaps.manifest [-DHEADER=out.h -DNAMESPACE=gpws
#         -DMODULE=vrn_gpws] [-DRC=out.rc -DFOLDER=dir] -P cmake/check_bitmap_manifest.cmake
#
# Exits 1 with "MANIFEST:LINE: what is wrong" on the first fault.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/BitmapManifest.cmake)

if(NOT MANIFEST)
  message(FATAL_ERROR "usage: cmake -DMANIFEST=FILE [-DHEADER=... -DNAMESPACE=... -DMODULE=...] "
                      "[-DRC=... -DFOLDER=...] -P check_bitmap_manifest.cmake")
endif()
cmake_path(ABSOLUTE_PATH MANIFEST NORMALIZE)
read_bitmap_manifest(${MANIFEST} bitmap)
cmake_path(GET MANIFEST FILENAME source)
if(HEADER)
  write_bitmap_header(bitmap ${NAMESPACE} ${MODULE} ${source} ${HEADER})
endif()
if(RC)
  write_bitmap_rc(bitmap ${source} ${FOLDER} ${RC})
endif()
list(LENGTH bitmap_IDS count)
message(STATUS "${MANIFEST}: ${count} bitmaps")
