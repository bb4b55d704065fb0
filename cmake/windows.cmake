# The Windows build: the programs link statically, so that each .exe runs on
# a bare Windows (and under wine) without any DLL of ours; the system's own
# DLLs provide windows, text, PNG and XML.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
# Windows headers: no min/max macros, the Unicode entry points, Windows 7
# and later; 64-bit file sizes, and M_PI and gmtime_r, which the C library
# leaves out of strict C++ otherwise.
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN UNICODE _UNICODE _WIN32_WINNT=0x0601
                        _FILE_OFFSET_BITS=64 _USE_MATH_DEFINES _POSIX_THREAD_SAFE_FUNCTIONS=200112L)
set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)

# GoogleTest from the source Debian's googletest package ships, built with
# the cross compiler (its build names the targets GTest::gtest and
# GTest::gtest_main, as the installed package does).
set(gtest_source /usr/src/googletest/googletest)
if(NOT EXISTS ${gtest_source}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's source is missing: apt-get install googletest")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${gtest_source} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Test files that need what Windows does not have: other processes started
# with fork, libtiff, POSIX file modes and links, or node. What they cover
# that concerns Windows is tested in wintests/.
set(windows_skipped_tests
  # fork, wait, rlimit, symbolic links and file modes
  shell/tests/atomicfile_test.cpp
  # runs palette-convert with fork and exec
  palettes/tests/convert_test.cpp
  # libtiff reads the written files back, or writes the files read
  huewright/tests/files/tiff_lzw_test.cpp
  huewright/tests/files/tiff_read_test.cpp
  huewright/tests/files/tiff_metadata_test.cpp
  huewright/tests/ui/tiff_save_test.cpp
  huewright/tests/ui/save_screen_test.cpp
  # node runs the reference colour library
  analysis/tests/reference_test.cpp
)
list(TRANSFORM windows_skipped_tests PREPEND ${PROJECT_SOURCE_DIR}/)

# A program: its window procedure's core, the Win32 host, and a resource
# file with its icon and manifest (desktop/windows).
# The icon is drawn during the build (desktop/windows), into this folder.
set(windows_icons ${CMAKE_BINARY_DIR}/icons)
function(add_windows_program name main)
  set(program ${name})
  set(icon ${windows_icons}/${name}.ico)
  set(manifest ${PROJECT_SOURCE_DIR}/desktop/windows/program.manifest)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/desktop/windows/program.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${icon};${manifest}")
  add_executable(${name} WIN32 ${main} ${rc})
  target_link_libraries(${name} PRIVATE ${name}_core shell_win32)
  add_dependencies(${name} windows_icons)
endfunction()

# The optimisation of the Linux build's RelWithDebInfo, without the debug
# information that would make each static program many times larger.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "" FORCE)
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "" FORCE)
set(CMAKE_EXE_LINKER_FLAGS_RELEASE "-s" CACHE STRING "" FORCE)
