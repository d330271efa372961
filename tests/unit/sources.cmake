# Test files of the native suite. The portable ones are also compiled into the
# Windows test binary (tests/win), so the portable logic is checked there too;
# the POSIX ones exercise the POSIX port only.
set(QX_PORTABLE_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/text_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/variant_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/date_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/object_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/library_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/state_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paths_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/special_folders_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_engine_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_file_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/logs_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trace_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timing_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/osinfo_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/launch_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/version_info_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/disk_identity_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/network_drives_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controls_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/centring_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clsQXResizeForm_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/manifest_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clsFileAccess_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_times_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tabpaint_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skin_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browse_folder_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/msgbox_form_test.cpp
)
set(QX_POSIX_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/qxstring_posix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paths_posix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_file_posix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log_file_posix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/display_posix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_posix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/launch_posix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sysinfo_posix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_posix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_access_posix_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/msgbox_form_posix_test.cpp
)
set(QX_TEST_SUPPORT_DIR ${CMAKE_CURRENT_LIST_DIR})
# Files the tests read (small PE images, expected manifests), reached by the same path from Wine (drive Z:).
set(QX_TEST_DATA_DIR ${CMAKE_CURRENT_LIST_DIR}/../data)
