# Makes the release zip and unpacks it into a fresh folder, then checks that
# it holds exactly one folder with the player, its README and its licence,
# and that the README names the release, 1.1.N, whose changelog section it
# points to.
#   cmake -DCONFIG=... -DBUILD=... -DNAME=... -DINTO=... -DVERSION=... -DCHANGELOG=...
#         -P unpack_release.cmake
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target release --config ${CONFIG}
                RESULT_VARIABLE made OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "the release target failed:\n${log}")
endif()
file(REMOVE_RECURSE ${INTO})
file(ARCHIVE_EXTRACT INPUT ${BUILD}/${NAME}.zip DESTINATION ${INTO})
file(GLOB_RECURSE unpacked LIST_DIRECTORIES true RELATIVE ${INTO} ${INTO}/*)
list(SORT unpacked)
set(expected ${NAME} ${NAME}/LICENSE.txt ${NAME}/README.txt ${NAME}/lirotune.exe)
if(NOT unpacked STREQUAL expected)
  message(FATAL_ERROR "the zip holds\n  ${unpacked}\nexpected\n  ${expected}")
endif()
file(READ ${INTO}/${NAME}/README.txt readme)
file(READ ${CHANGELOG} changelog)
string(FIND "${readme}" "This is release ${VERSION} " release)
string(FIND "${readme}" "section [${VERSION}] of CHANGELOG.md" pointer)
string(FIND "${changelog}" "\n## [${VERSION}] - " section)
if(NOT VERSION MATCHES "^1\\.1\\.[0-9]+$" OR release EQUAL -1 OR pointer EQUAL -1 OR section EQUAL -1)
  message(FATAL_ERROR "release ${VERSION}: not 1.1.N, or not named in README.txt (${release}), "
                      "or without its changelog section there (${pointer}) or in CHANGELOG.md (${section})")
endif()
message(STATUS "${NAME}.zip holds ${unpacked}")
