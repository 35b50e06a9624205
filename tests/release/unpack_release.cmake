# Makes the release zip and unpacks it into a fresh folder, then checks that
# it holds exactly one folder with the player, its README and its licence.
#   cmake -DCONFIG=... -DBUILD=... -DNAME=... -DINTO=... -P unpack_release.cmake
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
message(STATUS "${NAME}.zip holds ${unpacked}")
