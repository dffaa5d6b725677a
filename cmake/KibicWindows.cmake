# The 32-bit Windows build: version resources and icons of the programs, and the files a Windows PC
# needs beside them (Qt's DLLs and plugins, Qt's Polish translation, the mingw runtime).

# DDS, the double-dummy solver, as scripts/build-dds-mingw32 builds it: include/dds/dll.h, lib/libdds.dll.a,
# bin/dds.dll. $KIBIC_DDS_MINGW32 or the project's .toolchains/dds-mingw32, where scripts/setup-windows puts it.
set(KIBIC_DDS_ROOT "$ENV{KIBIC_DDS_MINGW32}" CACHE PATH "DDS built for i686-w64-mingw32")
if(NOT KIBIC_DDS_ROOT)
  set(KIBIC_DDS_ROOT "${PROJECT_SOURCE_DIR}/.toolchains/dds-mingw32")
endif()

# The Qt SDK's own folder: Qt6_DIR is <SDK>/lib/cmake/Qt6.
get_filename_component(KIBIC_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)

# kibic_windows_resource(TARGET DESCRIPTION [ICON]): the target's VERSIONINFO with the project's version,
# the application manifest, and with ICON the program's icon. The description is ASCII (the resource's strings are Windows-1250).
function(kibic_windows_resource target description)
  cmake_parse_arguments(ARG "ICON" "" "" ${ARGN})
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(KIBIC_RC_NAME ${name})
  set(KIBIC_RC_FILE ${name}.exe)
  set(KIBIC_RC_DESCRIPTION "${description}")
  set(KIBIC_RC_ICON "")
  if(ARG_ICON)
    set(KIBIC_RC_ICON "1 ICON \"${PROJECT_SOURCE_DIR}/src/shell/ui/kibic.ico\"")
  endif()
  # RT_MANIFEST (24), resource 1: the manifest of a program (an .exe).
  set(KIBIC_RC_MANIFEST "${PROJECT_SOURCE_DIR}/cmake/kibic.manifest")
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc APPEND PROPERTY OBJECT_DEPENDS ${KIBIC_RC_MANIFEST})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()

# Everything the programs load at run time, copied beside them into bin/ (what the installer packs).
set(KIBIC_DEPLOY_FILES
  bin/Qt6Core.dll bin/Qt6Gui.dll bin/Qt6Widgets.dll bin/Qt6Sql.dll
  bin/libgcc_s_dw2-1.dll bin/libstdc++-6.dll bin/libwinpthread-1.dll
  plugins/platforms/qwindows.dll plugins/platforms/qoffscreen.dll plugins/platforms/qminimal.dll
  plugins/sqldrivers/qsqlite.dll
  plugins/styles/qwindowsvistastyle.dll
  plugins/imageformats/qico.dll
  translations/qtbase_pl.qm)
# The test programs also need QtTest; the installer leaves it out.
set(KIBIC_DEPLOY_TEST_FILES bin/Qt6Test.dll)

set(deployed)
# DDS's DLL, and its licence (Apache 2.0), which goes wherever the DLL goes.
set(dds_dll ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/dds.dll)
set(dds_licence ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/dds-LICENSE.txt)
add_custom_command(OUTPUT ${dds_dll} ${dds_licence}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KIBIC_DDS_ROOT}/bin/dds.dll ${dds_dll}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KIBIC_DDS_ROOT}/LICENSE ${dds_licence}
  DEPENDS ${KIBIC_DDS_ROOT}/bin/dds.dll ${KIBIC_DDS_ROOT}/LICENSE VERBATIM)
list(APPEND deployed ${dds_dll} ${dds_licence})
foreach(file IN LISTS KIBIC_DEPLOY_FILES KIBIC_DEPLOY_TEST_FILES)
  string(REGEX REPLACE "^(bin|plugins)/" "" relative "${file}")
  set(target_file ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${relative})
  add_custom_command(OUTPUT ${target_file}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KIBIC_QT_PREFIX}/${file} ${target_file}
    DEPENDS ${KIBIC_QT_PREFIX}/${file} VERBATIM)
  list(APPEND deployed ${target_file})
endforeach()
# qt.conf: Qt finds its plugins and translations beside the program, not in the SDK's layout.
set(qt_conf ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/qt.conf)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")
add_custom_command(OUTPUT ${qt_conf}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_BINARY_DIR}/qt.conf ${qt_conf}
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/qt.conf VERBATIM)
add_custom_target(kibic_deploy ALL DEPENDS ${deployed} ${qt_conf})

# The installer (NSIS) and the zip: build-windows/kibic-VERSION-win32-setup.exe and -win32.zip.
set(KIBIC_PACKAGE_FILES
  kibic.exe kibic-cli.exe kibic-terminals.exe qt.conf kibic-terminals.txt
  Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Sql.dll
  libgcc_s_dw2-1.dll libstdc++-6.dll libwinpthread-1.dll dds.dll dds-LICENSE.txt
  platforms/qwindows.dll sqldrivers/qsqlite.dll
  styles/qwindowsvistastyle.dll imageformats/qico.dll translations/qtbase_pl.qm)
set(KIBIC_PACKAGE_BASE kibic-${PROJECT_VERSION}-win32)
set(readme ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/kibic-terminals.txt)
add_custom_command(OUTPUT ${readme}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/packaging/windows/kibic-terminals.txt ${readme}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/windows/kibic-terminals.txt VERBATIM)
add_custom_target(kibic_package_readme DEPENDS ${readme})
find_program(KIBIC_MAKENSIS makensis)
set(stage ${PROJECT_BINARY_DIR}/package/Kibic)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
add_custom_target(kibic_package
  COMMAND ${CMAKE_COMMAND} -DBIN=${CMAKE_RUNTIME_OUTPUT_DIRECTORY} -DSTAGE=${stage}
    "-DFILES=${KIBIC_PACKAGE_FILES}" -DUNINSTALL_LIST=${PROJECT_BINARY_DIR}/package/uninstall-files.nsh
    -P ${PROJECT_SOURCE_DIR}/cmake/StageWindowsPackage.cmake
  COMMAND ${KIBIC_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage}
    -DICON=${PROJECT_SOURCE_DIR}/src/shell/ui/kibic.ico
    -DUNINSTALL_LIST=${PROJECT_BINARY_DIR}/package/uninstall-files.nsh
    -DOUTFILE=${PROJECT_BINARY_DIR}/${KIBIC_PACKAGE_BASE}-setup.exe
    ${PROJECT_SOURCE_DIR}/packaging/windows/kibic.nsi
  COMMAND ${CMAKE_COMMAND} -E rm -f ${PROJECT_BINARY_DIR}/${KIBIC_PACKAGE_BASE}.zip
  COMMAND ${CMAKE_COMMAND} -E tar cf ${PROJECT_BINARY_DIR}/${KIBIC_PACKAGE_BASE}.zip --format=zip Kibic
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/package
  VERBATIM)
add_dependencies(kibic_package kibic kibic-cli kibic-terminals kibic_deploy kibic_package_readme)
