# The language and floating-point rules every configuration builds with,
# including assetgen's own build for the build machine in the Windows
# configuration (tools/assetgen/CMakeLists.txt).
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

# IEEE double exactly in both builds, so native and Windows runs log the same
# and generated tones are the same bytes.
add_compile_options(-Wall -Wextra -ffp-contract=off -fno-fast-math)
