# Gives Windows executables the program's version record (a VERSIONINFO resource) and an
# application manifest, both made from project(VERSION) (see TrelvoxVersion.cmake).
#   trelvox_windows_version_record(<rc file> DESCRIPTION <text> INTERNAL_NAME <name>
#                                  ORIGINAL_FILENAME <file name> MANIFEST <manifest template>)
#   trelvox_add_windows_resources(<target> DESCRIPTION <text> MANIFEST <manifest template>)
# The manifest template names the version as @TRELVOX_VERSION_QUAD@.
function(trelvox_windows_version_record rc_file)
  cmake_parse_arguments(ARG "" "DESCRIPTION;INTERNAL_NAME;ORIGINAL_FILENAME;MANIFEST" "" ${ARGN})
  set(TRELVOX_RC_DESCRIPTION "${ARG_DESCRIPTION}")
  set(TRELVOX_RC_INTERNAL_NAME "${ARG_INTERNAL_NAME}")
  set(TRELVOX_RC_ORIGINAL_FILENAME "${ARG_ORIGINAL_FILENAME}")
  get_filename_component(manifest_name ${ARG_MANIFEST} NAME_WE)
  get_filename_component(rc_dir ${rc_file} DIRECTORY)
  set(TRELVOX_RC_MANIFEST ${rc_dir}/${manifest_name}.manifest)
  configure_file(${ARG_MANIFEST} ${TRELVOX_RC_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${rc_file} @ONLY)
  set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS ${TRELVOX_RC_MANIFEST})
endfunction()

function(trelvox_add_windows_resources target)
  cmake_parse_arguments(ARG "" "DESCRIPTION;MANIFEST" "" ${ARGN})
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  set(rc_file ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources.rc)
  trelvox_windows_version_record(${rc_file} DESCRIPTION "${ARG_DESCRIPTION}"
                                 INTERNAL_NAME ${output_name}
                                 ORIGINAL_FILENAME ${output_name}.exe MANIFEST ${ARG_MANIFEST})
  target_sources(${target} PRIVATE ${rc_file})
endfunction()
