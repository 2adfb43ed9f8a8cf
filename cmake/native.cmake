# native: the logic over the portable platform, for unit tests (under ASan
# and UBSan), fuzz targets and benchmarks.
find_package(JPEG REQUIRED)
find_library(BX_GIF_LIBRARY gif REQUIRED)
find_package(PNG REQUIRED)
find_library(BX_WEBP_LIBRARY webp REQUIRED)
find_library(BX_WEBPDEMUX_LIBRARY webpdemux REQUIRED)
# The muxer only makes the tests' animated files.
find_library(BX_WEBPMUX_LIBRARY webpmux REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)

file(GLOB_RECURSE BX_PORTABLE_SOURCES CONFIGURE_DEPENDS platform/portable/*.cpp
  binding/portable/*.cpp)

function(bx_core name)
  add_library(${name} STATIC ${BX_CORE_SOURCES} ${BX_PORTABLE_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${JPEG_INCLUDE_DIRS})
  target_link_libraries(${name} PUBLIC ${JPEG_LIBRARIES} ${BX_GIF_LIBRARY} PNG::PNG
    ${BX_WEBPDEMUX_LIBRARY} ${BX_WEBPMUX_LIBRARY} ${BX_WEBP_LIBRARY})
  target_compile_options(${name} PRIVATE -Wall -Wextra)
endfunction()

# Optimised, for the benchmarks.
bx_core(bexora_core)
target_compile_options(bexora_core PRIVATE -O2)

# Sanitized and coverage-instrumented, for the unit tests and fuzz targets.
set(BX_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined
  -fno-omit-frame-pointer)
bx_core(bexora_core_san)
target_compile_options(bexora_core_san PUBLIC -O1 -g ${BX_SANITIZE})
target_compile_options(bexora_core_san PRIVATE -fsanitize=fuzzer-no-link)
target_link_options(bexora_core_san PUBLIC ${BX_SANITIZE})

add_subdirectory(tests/unit)
add_subdirectory(tests/layers)
add_subdirectory(tests/fuzz)
add_subdirectory(tests/bench)
add_subdirectory(tests/bench/timer)
