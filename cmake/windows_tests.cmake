# What the Windows build needs to run its tests on Linux: GoogleTest built for
# Windows from the sources that Debian's googletest package installs, and
# Wine as ctest's cross-compiling emulator, in a prefix of the build's own.
# Included before the project's warning flags, which are not GoogleTest's.

set(VELLUMIN_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS ${VELLUMIN_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${VELLUMIN_GOOGLETEST_SOURCE}: install the package googletest")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELLUMIN_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# It names its targets GTest::gtest and GTest::gtest_main itself.

# Never the user's own prefix: the tests make and delete files in it.
set(VELLUMIN_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE PATH "Wine prefix that the tests run in")
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# Runs test program `target` once more in one process under each of two
# other ANSI code pages: 1252, as on a Western Windows (Wine takes it from the
# locale C.UTF-8), and 65001, as on a Windows set to UTF-8: `target`_utf8,
# linked from the same objects with `manifest` embedded as its own, which
# asks for UTF-8. (Wine reads a manifest file beside a program only when the
# program has none inside, so the manifest goes in.) `filter_1252` and
# `filter_65001` choose the tests, as --gtest_filter takes them; the rest
# are test properties. VELLUMIN_EXPECTED_ACP lets the tests check that they
# run under the code page meant.
function(vellumin_add_code_page_tests target manifest filter_1252 filter_65001)
  add_test(NAME ${target}_code_page_1252 COMMAND ${target} --gtest_filter=${filter_1252})
  set_tests_properties(${target}_code_page_1252 PROPERTIES LABELS code_page
    ENVIRONMENT "VELLUMIN_WINE_LOCALE=C.UTF-8;VELLUMIN_EXPECTED_ACP=1252" ${ARGN})
  set(utf8 ${target}_utf8)
  # Resource 1 of type 24: the manifest a process is made with.
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${utf8}.rc)
  file(CONFIGURE OUTPUT ${resource} CONTENT "1 24 \"${manifest}\"\n")
  set_source_files_properties(${resource} PROPERTIES OBJECT_DEPENDS ${manifest})
  add_executable(${utf8} $<TARGET_OBJECTS:${target}> ${resource})
  get_target_property(libraries ${target} LINK_LIBRARIES)
  target_link_libraries(${utf8} PRIVATE ${libraries})
  add_test(NAME ${target}_code_page_65001 COMMAND ${utf8} --gtest_filter=${filter_65001})
  set_tests_properties(${target}_code_page_65001 PROPERTIES LABELS code_page
    ENVIRONMENT "VELLUMIN_WINE_LOCALE=C.UTF-8;VELLUMIN_EXPECTED_ACP=65001" ${ARGN})
endfunction()
