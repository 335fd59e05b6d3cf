# Builds the Debian package with CPack and checks its file list and its computed
# dependencies.
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
    "./usr/share/quorvel-imager/4286 English.dll"
    "./usr/share/quorvel-imager/4286 German.dll"
    "./usr/share/quorvel-imager/4286 ChineseT.dll"
    ./usr/share/applications/com.therlix.QuorvelImager.desktop
    ./usr/share/icons/hicolor/scalable/apps/com.therlix.QuorvelImager.svg
    ./usr/share/metainfo/com.therlix.QuorvelImager.metainfo.xml)
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
