# Builds the Debian package with CPack, checks its file list and its computed
# dependencies, and runs Debian's package checker lintian on it: an error or a warning
# fails, the informational tags are shown.
#   cmake -DBUILD_DIR=<build folder> -P check_package.cmake
if(NOT DEFINED BUILD_DIR)
    message(FATAL_ERROR "check_package.cmake needs -DBUILD_DIR=...")
endif()

execute_process(COMMAND cpack -G DEB WORKING_DIRECTORY "${BUILD_DIR}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB packages "${BUILD_DIR}/package/quorvel-imager_*.deb")
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package in ${BUILD_DIR}/package, found: ${packages}")
endif()

execute_process(COMMAND dpkg-deb -c "${packages}" OUTPUT_VARIABLE contents RESULT_VARIABLE result)
execute_process(COMMAND dpkg-deb -f "${packages}" Depends OUTPUT_VARIABLE depends)
message(STATUS "${packages}\n${contents}\nDepends: ${depends}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb -c failed")
endif()

set(expected
    ./usr/bin/quorvel-imager
    ./usr/bin/quorvel-headsim
    ./usr/bin/quorvel-snap
    ./usr/bin/quorvel-log
    "./usr/lib/systemd/system/quorvel-log@.service"
    "./usr/share/quorvel-imager/4286 English.dll"
    "./usr/share/quorvel-imager/4286 German.dll"
    "./usr/share/quorvel-imager/4286 ChineseT.dll"
    ./usr/share/applications/com.therlix.QuorvelImager.desktop
    ./usr/share/icons/hicolor/scalable/apps/com.therlix.QuorvelImager.svg
    ./usr/share/metainfo/com.therlix.QuorvelImager.metainfo.xml
    ./usr/share/man/man1/quorvel-imager.1.gz
    ./usr/share/man/man1/quorvel-headsim.1.gz
    ./usr/share/man/man1/quorvel-snap.1.gz
    ./usr/share/man/man1/quorvel-log.1.gz
    ./usr/share/doc/quorvel-imager/copyright
    ./usr/share/doc/quorvel-imager/changelog.gz)
foreach(path IN LISTS expected)
    string(FIND "${contents}" " ${path}\n" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "the package lacks ${path}")
    endif()
endforeach()
foreach(absent quorvel-relumo wceload "Quorvel Relumo.dll")
    string(FIND "${contents}" "${absent}" found)
    if(NOT found EQUAL -1)
        message(FATAL_ERROR "the package holds ${absent}, which belongs to the handheld")
    endif()
endforeach()
foreach(library libqt6widgets6 libqt6uitools6 libqt6svg6 libqt6charts6 libc6 libstdc++6)
    string(FIND "${depends}" "${library}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "the computed dependencies lack ${library}: ${depends}")
    endif()
endforeach()

find_program(LINTIAN lintian REQUIRED)
execute_process(
    COMMAND "${LINTIAN}" --fail-on error,warning --display-info --tag-display-limit 0
        "${packages}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message(STATUS "lintian:\n${output}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lintian found errors or warnings (above)")
endif()
