# Installs the static (and, on POSIX, shared) library, its headers and a CMake
# package, so that C++ programs can find_package(QXGenRtns) and link QXGenRtns::qxgenrtns.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(qx_install_targets qxgenrtns)
if(TARGET qxgenrtns_shared)
  list(APPEND qx_install_targets qxgenrtns_shared)
endif()
install(TARGETS ${qx_install_targets} EXPORT QXGenRtnsTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The public headers: the library's classes and what they include. Internal
# headers (platform primitives, engines) stay out; tests/install_test.sh
# builds the demo host against exactly this set.
set(QX_PUBLIC_HEADERS
  core/clsQXGenRtns.h core/error.h core/hostapp.h core/library.h core/msgbox.h core/object.h
  core/property.h core/qxstring.h core/screen.h core/state.h core/types.h core/variant.h
  files/clsFileAccess.h
  sysinfo/HDSN.h sysinfo/clsSpecialFolders.h sysinfo/clsVersionInfo.h
  ui/clsQXResizeForm.h)
foreach(header IN LISTS QX_PUBLIC_HEADERS)
  get_filename_component(dir ${header} DIRECTORY)
  install(FILES ${header} DESTINATION include/qxgenrtns/${dir})
endforeach()
install(EXPORT QXGenRtnsTargets NAMESPACE QXGenRtns:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QXGenRtns)
file(WRITE ${CMAKE_BINARY_DIR}/QXGenRtnsConfig.cmake
  "include(\"\${CMAKE_CURRENT_LIST_DIR}/QXGenRtnsTargets.cmake\")\n")
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QXGenRtnsConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/QXGenRtnsConfig.cmake ${CMAKE_BINARY_DIR}/QXGenRtnsConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QXGenRtns)
