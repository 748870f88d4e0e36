# Installs the build into a fresh prefix and checks that everything a user needs is where a
# Linux desktop expects it, and that the installed program finds its language file there.
# Run by CTest with -DBUILD_DIR=... -DWORK_DIR=...
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

foreach(item bin/pellucor bin/pellucor-cli
             share/pellucor/English.lng share/pellucor/German.lng share/pellucor/Example.avi
             share/applications/pellucor.desktop share/icons/hicolor/scalable/apps/pellucor.svg)
  if(NOT EXISTS ${WORK_DIR}/prefix/${item})
    message(FATAL_ERROR "not installed: ${item}")
  endif()
endforeach()

# The installed companion speaks the installed English.lng: its refusal of a missing folder
# is entry 22 of that file, not the built-in fallback.
set(ENV{HOME} ${WORK_DIR}/home)
set(ENV{XDG_CONFIG_HOME} ${WORK_DIR}/home/.config)
execute_process(COMMAND ${WORK_DIR}/prefix/bin/pellucor-cli watch --in ${WORK_DIR}/missing
                        --out ${WORK_DIR} --log ${WORK_DIR}
                RESULT_VARIABLE refused ERROR_VARIABLE said)
file(STRINGS ${WORK_DIR}/prefix/share/pellucor/English.lng entry REGEX "^22=")
string(REPLACE "22=" "" entry "${entry}")
if(NOT refused EQUAL 2 OR NOT said MATCHES "${entry}")
  message(FATAL_ERROR "the installed pellucor-cli did not use the installed language file: ${refused} ${said}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
