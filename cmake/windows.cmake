# win64 and win32: Bexora.cpl, a stand-alone DLL exporting CPlApplet only,
# its Windows Installer package, and the Wine suites that drive them.
set(BX_DEPS ${CMAKE_SOURCE_DIR}/build/deps/${BX_TARGET})
if(NOT EXISTS ${BX_DEPS}/lib/libjpeg.a OR NOT EXISTS ${BX_DEPS}/lib/libpng.a
   OR NOT EXISTS ${BX_DEPS}/lib/libwebp.a)
  message(FATAL_ERROR "Cross-built libraries missing in ${BX_DEPS}: run scripts/setup")
endif()

file(GLOB_RECURSE BX_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp binding/win32/*.cpp)

add_library(bexora_core STATIC ${BX_CORE_SOURCES} ${BX_WIN32_SOURCES})
target_include_directories(bexora_core PUBLIC ${CMAKE_SOURCE_DIR} ${BX_DEPS}/include)
target_compile_definitions(bexora_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0601 BX_WINDOWS=1)
target_compile_options(bexora_core PRIVATE -Wall -Wextra -O2)
target_link_libraries(bexora_core PUBLIC ${BX_DEPS}/lib/libjpeg.a ${BX_DEPS}/lib/libgif.a
  ${BX_DEPS}/lib/libpng.a ${BX_DEPS}/lib/libz.a
  # The muxer only makes the tests' animated files.
  ${BX_DEPS}/lib/libwebpdemux.a ${BX_DEPS}/lib/libwebpmux.a ${BX_DEPS}/lib/libwebp.a
  gdi32 user32 advapi32 shell32 comdlg32 comctl32 ole32 oleaut32 oleacc msimg32)

add_library(Bexora SHARED applet/CplExport.cpp applet/Bexora.def
  resources/Bexora.rc)
set_target_properties(Bexora PROPERTIES PREFIX "" SUFFIX ".cpl" OUTPUT_NAME Bexora)
target_link_libraries(Bexora PRIVATE bexora_core)
target_link_options(Bexora PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--kill-at -Wl,--enable-stdcall-fixup
  -Wl,--exclude-all-symbols)

add_subdirectory(tests/wine)
add_subdirectory(tests/bench/timer)

# The packages of both builds sit side by side in the build folder.
get_filename_component(BX_PACKAGE_DIR ${CMAKE_BINARY_DIR} DIRECTORY)
if(BX_TARGET STREQUAL "win64")
  set(BX_ARCH x64)
else()
  set(BX_ARCH x86)
endif()
add_subdirectory(installer)
add_subdirectory(tests/package)
