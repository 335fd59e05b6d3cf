# Packs the installed imager: the program and every language bundle ("4286 *.dll") beside
# it, installed into \Program Files\Therlix Imager. The bundles are looked up when the
# package is built, so new languages are picked up without a new configure run. The
# package file is replaced only when its content changes.
#   cmake -DPACKER=<quorvel-pack> -DPACKAGE=<output> -DPROGRAM=<quorvel-imager>
#         -DBUNDLE_FOLDER=<folder> -P pack_installation.cmake
foreach(variable PACKER PACKAGE PROGRAM BUNDLE_FOLDER)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "pack_installation.cmake needs -D${variable}=...")
    endif()
endforeach()

file(GLOB bundles LIST_DIRECTORIES false "${BUNDLE_FOLDER}/4286 *.dll")
list(SORT bundles)

get_filename_component(packageFolder "${PACKAGE}" DIRECTORY)
file(MAKE_DIRECTORY "${packageFolder}")
set(fresh "${PACKAGE}.new")
execute_process(
    COMMAND "${PACKER}" "${fresh}" "/Program Files/Therlix Imager" "${PROGRAM}" ${bundles}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE "${fresh}")
    message(FATAL_ERROR "packing ${PACKAGE} failed")
endif()
file(COPY_FILE "${fresh}" "${PACKAGE}" ONLY_IF_DIFFERENT)
file(REMOVE "${fresh}")
