# kr_resource_name(out file naming): the resource name of an embedded file.
#   STEM             the file name without its extension: "APP_SKINS.xml" is "APP_SKINS"
#   UPPER_FILE_NAME  the whole file name upper-cased, "." and " " made "_":
#                    "Session Skin 1C.png" is "SESSION_SKIN_1C_PNG"
function(kr_resource_name out file naming)
  get_filename_component(file_name ${file} NAME)
  if(naming STREQUAL "UPPER_FILE_NAME")
    string(TOUPPER "${file_name}" name)
    string(REGEX REPLACE "[. ]" "_" name "${name}")
  elseif(naming STREQUAL "STEM")
    get_filename_component(name ${file} NAME_WLE)
  else()
    message(FATAL_ERROR "resource naming \"${naming}\": STEM or UPPER_FILE_NAME")
  endif()
  # The name lands in a C++ string literal.
  if(name MATCHES "[\"\\\\]")
    message(FATAL_ERROR "${file}: a resource name may not hold a quote or a backslash")
  endif()
  set(${out} ${name} PARENT_SCOPE)
endfunction()
