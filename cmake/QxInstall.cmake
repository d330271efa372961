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
foreach(dir core files sysinfo ui)
  install(DIRECTORY ${dir}/ DESTINATION include/qxgenrtns/${dir} FILES_MATCHING PATTERN "*.h")
endforeach()
install(EXPORT QXGenRtnsTargets NAMESPACE QXGenRtns:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QXGenRtns)
file(WRITE ${CMAKE_BINARY_DIR}/QXGenRtnsConfig.cmake
  "include(\"\${CMAKE_CURRENT_LIST_DIR}/QXGenRtnsTargets.cmake\")\n")
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QXGenRtnsConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/QXGenRtnsConfig.cmake ${CMAKE_BINARY_DIR}/QXGenRtnsConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QXGenRtns)
