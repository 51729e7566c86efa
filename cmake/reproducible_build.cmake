# The same commit builds the same bytes, wherever and whenever it is built,
# so that anyone can check a package against the commit it claims to be
# (README, "Check a package against its commit").
#
# Every date the build writes comes from one time, VELLUMIN_SOURCE_DATE_EPOCH:
#   - SOURCE_DATE_EPOCH from the environment, when the caller sets it (a
#     distribution's build does);
#   - else the time of the commit checked out (git log -1 --format=%ct);
#   - else the commit time that git archive wrote into source_date_epoch.txt
#     (export-subst in .gitattributes), for a source archive without git.
# The manual pages, the changelog and the software centre's release date are
# configured from it; the Qt resource compiler, CPack and the zip take it as
# the time of every file they store, and strip as the Windows programs' PE
# time stamp.

set(VELLUMIN_SOURCE_DATE_EPOCH "")
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(VELLUMIN_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    # safe.directory: reading the date is safe in a checkout that another
    # user owns (a container's mounted folder), where git refuses otherwise.
    # Only this project's own checkout: sources unpacked inside another
    # repository (a distribution's packaging) take the archive's date.
    execute_process(COMMAND ${GIT_EXECUTABLE} -c safe.directory=* -C ${PROJECT_SOURCE_DIR} rev-parse --show-toplevel
      OUTPUT_VARIABLE git_top OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE git_status ERROR_QUIET)
    if(git_status EQUAL 0)
      file(REAL_PATH "${git_top}" git_top)
      file(REAL_PATH "${PROJECT_SOURCE_DIR}" source_top)
      if(NOT git_top STREQUAL source_top)
        set(git_status 1)
      endif()
    endif()
    if(git_status EQUAL 0)
      execute_process(COMMAND ${GIT_EXECUTABLE} -c safe.directory=* -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
        OUTPUT_VARIABLE VELLUMIN_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE git_status ERROR_QUIET)
    endif()
    if(NOT git_status EQUAL 0)
      set(VELLUMIN_SOURCE_DATE_EPOCH "")
    else()
      # A new commit or checkout changes the dates: configure again then.
      execute_process(COMMAND ${GIT_EXECUTABLE} -c safe.directory=* -C ${PROJECT_SOURCE_DIR} rev-parse --path-format=absolute
          --git-path HEAD --git-path logs/HEAD
        OUTPUT_VARIABLE git_files OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      string(REPLACE "\n" ";" git_files "${git_files}")
      foreach(file IN LISTS git_files)
        if(EXISTS ${file})
          set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
        endif()
      endforeach()
    endif()
  endif()
  if(VELLUMIN_SOURCE_DATE_EPOCH STREQUAL "")
    file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/source_date_epoch.txt VELLUMIN_SOURCE_DATE_EPOCH LIMIT_COUNT 1)
  endif()
endif()
if(NOT VELLUMIN_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  # Still a build, but one whose dates are today's: say so and how to mend it.
  string(TIMESTAMP VELLUMIN_SOURCE_DATE_EPOCH "%s" UTC)
  message(WARNING "No date for this source: it is neither a git checkout nor an archive that git "
    "archive made, so its packages take today's date and will not be reproducible. Set "
    "SOURCE_DATE_EPOCH to the release's time in seconds since 1970 (date -d 2026-12-07 +%s).")
endif()

# string(TIMESTAMP) takes its time from SOURCE_DATE_EPOCH.
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${VELLUMIN_SOURCE_DATE_EPOCH})
string(TIMESTAMP VELLUMIN_RELEASE_DATE "%Y-%m-%d" UTC)           # metainfo
string(TIMESTAMP VELLUMIN_RELEASE_MONTH "%B %Y" UTC)             # manual pages
string(TIMESTAMP VELLUMIN_RELEASE_TIME_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC) # changelog
set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")

# No trace of the folders the build ran in: the debug information (whose
# paths go into the build id that the stripped programs keep too), __FILE__
# and the like name files relative to the source and the build folder. The
# build folder's map comes last, so that GCC takes it first for a build
# folder inside the source.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
endif()
# The PE header's time stamp: none, rather than the time of linking.
if(WIN32)
  add_link_options(LINKER:--no-insert-timestamp)
endif()
# For the check that a second build gives the same bytes
# (tests/packages/reproducible_test.sh).
set(VELLUMIN_SOURCE_DATE_EPOCH ${VELLUMIN_SOURCE_DATE_EPOCH} CACHE INTERNAL "The time every date of this build comes from")
