# The project's version is written once, in project(); Debian's changelog and the manual pages
# state it too, and a release that forgot one of them would tell users two versions. The
# configure step stops on a mismatch.
if(EXISTS "${PROJECT_SOURCE_DIR}/debian/changelog")
  file(STRINGS "${PROJECT_SOURCE_DIR}/debian/changelog" orvane_changelog_top LIMIT_COUNT 1)
  # "orvane (1.0.0) unstable; …", or "(1.0.0-2)" for a Debian revision of it.
  if(NOT orvane_changelog_top MATCHES "^orvane \\(([^)-]+)(-[^)]*)?\\)")
    message(FATAL_ERROR "debian/changelog: no version in its first line: ${orvane_changelog_top}")
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "debian/changelog says ${CMAKE_MATCH_1}, the project ${PROJECT_VERSION}")
  endif()
endif()
file(GLOB orvane_man_pages "${PROJECT_SOURCE_DIR}/desktop/*.[1-8]" "${PROJECT_SOURCE_DIR}/debian/*.[1-8]")
foreach(page IN LISTS orvane_man_pages)
  # .TH NAME SECTION "date" "Orvane 1.0.0" "…"
  file(STRINGS "${page}" orvane_title REGEX "^\\.TH " LIMIT_COUNT 1)
  if(NOT orvane_title MATCHES "\"Orvane ([^\"]+)\"")
    message(FATAL_ERROR "${page}: its .TH line names no \"Orvane VERSION\"")
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "${page} says ${CMAKE_MATCH_1}, the project ${PROJECT_VERSION}")
  endif()
endforeach()
