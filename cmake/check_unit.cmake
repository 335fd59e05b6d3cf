# Checks the systemd unit of quorvel-log with systemd-analyze verify, for one instance,
# with the built program in place of the installed one.
#   cmake -DUNIT=<unit file> -DPROGRAM=<quorvel-log> -DANALYZE=<systemd-analyze>
#         -DWORK=<folder> -P check_unit.cmake
file(READ "${UNIT}" text)
string(REGEX REPLACE "\nExecStart=quorvel-log " "\nExecStart=${PROGRAM} " text "${text}")
file(MAKE_DIRECTORY "${WORK}")
get_filename_component(name "${UNIT}" NAME)
file(WRITE "${WORK}/${name}" "${text}")
string(REPLACE "@" "@ttyUSB0" instance "${name}")
execute_process(COMMAND "${ANALYZE}" verify "${WORK}/${instance}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
# Warnings (an unknown key, a bad value) name the unit and leave the result at 0.
if(NOT result EQUAL 0 OR output MATCHES "quorvel-log@")
    message(FATAL_ERROR "systemd-analyze verify ${instance}:\n${output}")
endif()
