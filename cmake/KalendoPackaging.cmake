# Packages made by CPack from the install rules: a Debian package on Linux (scripts/package.sh),
# an NSIS installer on Windows. Included last, once every install rule is known.
set(CPACK_PACKAGE_NAME kalendo)
set(CPACK_PACKAGE_VENDOR "Marrowby")
set(CPACK_PACKAGE_CONTACT "Edwin Harcourt <support@marrowby.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.marrowby.example/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "date calculator: spans between dates, added days, Easter")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kalendo shows the span between two dates in days; weeks and days; months, weeks and days; and "
    "years, months, weeks and days. It adds calendar days or business days to a date and gives the "
    "movable feasts of Easter for any year from 1000 to 3000. kalendo-cli gives the same answers "
    "on the command line.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Kalendo")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)

if(WIN32)
  set(CPACK_GENERATOR NSIS)
  set(CPACK_NSIS_PACKAGE_NAME "Kalendo v${PROJECT_VERSION}")
  set(CPACK_NSIS_DISPLAY_NAME "Kalendo v${PROJECT_VERSION}")
  set(CPACK_NSIS_CONTACT "support@marrowby.example")
  set(CPACK_NSIS_URL_INFO_ABOUT "https://www.marrowby.example/")
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/packaging/icons/kalendo.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/packaging/icons/kalendo.ico)
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
  if(KALENDO_BUILD_GUI)
    # A Start menu entry for the program, and the program's icon in Apps & features.
    set(CPACK_PACKAGE_EXECUTABLES kalendo "Kalendo")
    set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\kalendo.exe")
    set(CPACK_NSIS_MUI_FINISHPAGE_RUN kalendo.exe)
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # The dependencies are those of the programs as built, read by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The windows are designed in Liberation Sans; without it they fall back to DejaVu Sans.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
endif()

include(CPack)
