# Installs the build into a fresh prefix and checks what the desktop needs to list the editor
# in its menus, show its icon and offer it for .mqo files.
#   cmake -DBUILD_DIR=<build folder> -DPREFIX=<scratch folder> -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

foreach(file
        bin/vantor
        share/applications/vantor.desktop
        share/mime/packages/vantor.xml
        share/icons/hicolor/scalable/apps/vantor.svg
        share/icons/hicolor/16x16/apps/vantor.png
        share/icons/hicolor/48x48/apps/vantor.png
        share/icons/hicolor/256x256/apps/vantor.png)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

# The entry starts the installed program with the file it is given, under the installed icon,
# for the type the MIME package gives .mqo files.
file(READ "${PREFIX}/share/applications/vantor.desktop" entry)
file(READ "${PREFIX}/share/mime/packages/vantor.xml" types)
foreach(line "Exec=vantor %f" "Icon=vantor" "MimeType=model/x-mqo;" "Type=Application")
    string(FIND "${entry}" "\n${line}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "vantor.desktop lacks the line ${line}")
    endif()
endforeach()
foreach(text "type=\"model/x-mqo\"" "pattern=\"*.mqo\"")
    string(FIND "${types}" "${text}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "vantor.xml lacks ${text}")
    endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${PREFIX}/share/applications/vantor.desktop"
                    RESULT_VARIABLE valid OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints)
    if(NOT valid EQUAL 0 OR NOT complaints STREQUAL "")
        message(FATAL_ERROR "desktop-file-validate: ${complaints}")
    endif()
endif()
file(REMOVE_RECURSE "${PREFIX}")
