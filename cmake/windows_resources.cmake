# The version information every Windows program carries, made from the
# project's version:
#   vellumin_version_resource(TARGET DESCRIPTION_JA DESCRIPTION_EN)
# Explorer's Properties box shows the block of the user's language.
function(vellumin_version_resource target description_ja description_en)
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  set(VELLUMIN_RC_INTERNAL_NAME ${output_name})
  set(VELLUMIN_RC_FILE_NAME ${output_name}.exe)
  set(VELLUMIN_RC_DESCRIPTION_JA ${description_ja})
  set(VELLUMIN_RC_DESCRIPTION_EN ${description_en})
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_info.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
endfunction()
