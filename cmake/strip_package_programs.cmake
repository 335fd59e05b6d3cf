# Run by CPack on its staging folder before it makes the package: strips every program
# the way Debian's dh_strip does, which also drops the compiler's .comment and .note
# sections.
file(GLOB_RECURSE programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*/usr/bin/*")
if(NOT programs)
    message(FATAL_ERROR "no programs to strip in ${CPACK_TEMPORARY_DIRECTORY}")
endif()
foreach(program IN LISTS programs)
    execute_process(
        COMMAND "${CPACK_QUORVEL_STRIP}" --remove-section=.comment --remove-section=.note
            "${program}"
        RESULT_VARIABLE result ERROR_VARIABLE error)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not strip ${program}: ${error}")
    endif()
endforeach()
