# The editor's own resources: the skin and string-table documents, the images (drawn as
# SVG, rendered to PNG here), the version block and the user guide.
#
# The rendered images and the documents are also laid out as a folder, the "folder form"
# in ${KR_EDITOR_RESOURCE_FOLDER}: Skins.xml, StringTables.xml and FrameworkStrings.xml
# are links to the sources beside the PNGs, so a program started with
# KR_RESOURCE_FOLDER pointing there shows an edited skin without a rebuild.
#
# Included once from the top-level list, so every rule that makes a file is defined in one
# place; programs and shared libraries anywhere take the files with
# kr_add_editor_resources(target).

find_program(KR_RSVG_CONVERT rsvg-convert)
if(NOT KR_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert not found: scripts/setup installs it (librsvg2-bin)")
endif()

set(KR_EDITOR_RESOURCE_SOURCE ${PROJECT_SOURCE_DIR}/resources)
set(KR_EDITOR_RESOURCE_FOLDER ${CMAKE_BINARY_DIR}/resources)
set(KR_EDITOR_GUIDE_FILE "${CMAKE_BINARY_DIR}/bin/Vantor Preset Editor - User Guide - v1.0.pdf")
file(MAKE_DIRECTORY ${KR_EDITOR_RESOURCE_FOLDER})

# The program's icon comes in these sizes, each rendered from the one drawing.
set(KR_EDITOR_ICON_SIZES 16 32 48 64)

# --- Images: one rule per picture, so touching one SVG renders only its PNG ------------
# Each is rewritten without row filters (tools/png): the same pixels, decoded at start in
# under half the time.
file(GLOB kr_svgs CONFIGURE_DEPENDS ${KR_EDITOR_RESOURCE_SOURCE}/images/*.svg)
list(SORT kr_svgs)
set(KR_EDITOR_PNGS "")
foreach(svg ${kr_svgs})
  get_filename_component(stem ${svg} NAME_WLE)
  # Skins name their images in lower case (the reader lower-cases every image name).
  string(TOLOWER "${stem}" lower)
  if(NOT lower STREQUAL stem)
    message(FATAL_ERROR "${svg}: image names are lower case, as the skin reader reads them")
  endif()
  if(stem STREQUAL "icon")
    foreach(size ${KR_EDITOR_ICON_SIZES})
      set(png ${KR_EDITOR_RESOURCE_FOLDER}/icon-${size}.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${KR_RSVG_CONVERT} --width=${size} --height=${size} --output=${png}.rendered ${svg}
        COMMAND kr_png_unfiltered ${png}.rendered ${png}
        DEPENDS ${svg} kr_png_unfiltered
        BYPRODUCTS ${png}.rendered
        COMMENT "Rendering icon-${size}.png"
        VERBATIM)
      list(APPEND KR_EDITOR_PNGS ${png})
    endforeach()
  else()
    set(png ${KR_EDITOR_RESOURCE_FOLDER}/${stem}.png)
    # At the drawing's own width and height: those are the image's size.
    add_custom_command(OUTPUT ${png}
      COMMAND ${KR_RSVG_CONVERT} --output=${png}.rendered ${svg}
      COMMAND kr_png_unfiltered ${png}.rendered ${png}
      DEPENDS ${svg} kr_png_unfiltered
      BYPRODUCTS ${png}.rendered
      COMMENT "Rendering ${stem}.png"
      VERBATIM)
    list(APPEND KR_EDITOR_PNGS ${png})
  endif()
endforeach()
add_custom_target(kr_editor_images ALL DEPENDS ${KR_EDITOR_PNGS})

# --- Documents: embedded from the sources, linked into the folder form ---------------
set(KR_EDITOR_XML_FOLDER ${KR_EDITOR_RESOURCE_SOURCE}/xml)
foreach(pair "APP_SKINS.xml=Skins.xml" "APP_STRINGS.xml=StringTables.xml"
             "FRAMEWORK_STRINGS.xml=FrameworkStrings.xml")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 link)
  file(CREATE_LINK ${KR_EDITOR_XML_FOLDER}/${source} ${KR_EDITOR_RESOURCE_FOLDER}/${link} SYMBOLIC)
endforeach()

# --- Version block: the project's version written into the text ----------------------
set(KR_EDITOR_VERSION_FILE ${CMAKE_BINARY_DIR}/resources-version/VS_VERSION_INFO.ini)
configure_file(${KR_EDITOR_RESOURCE_SOURCE}/version.ini.in ${KR_EDITOR_VERSION_FILE} @ONLY)

# --- User guide: its SVG pages made one PDF beside the program ------------------------
# The pages show the keyboard picture; the renderer reads images only from a page's own
# folder, so pages and picture are gathered into one folder of the build first.
file(GLOB kr_guide_pages CONFIGURE_DEPENDS ${KR_EDITOR_RESOURCE_SOURCE}/guide/*.svg)
list(SORT kr_guide_pages COMPARE NATURAL)
set(kr_guide_folder ${CMAKE_BINARY_DIR}/resources-guide)
set(kr_guide_copies "")
foreach(page ${kr_guide_pages})
  get_filename_component(name ${page} NAME)
  list(APPEND kr_guide_copies ${kr_guide_folder}/${name})
endforeach()
add_custom_command(OUTPUT ${KR_EDITOR_GUIDE_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${kr_guide_folder}
  COMMAND ${CMAKE_COMMAND} -E copy ${kr_guide_pages} ${KR_EDITOR_RESOURCE_FOLDER}/device-picture.png ${kr_guide_folder}
  COMMAND ${KR_RSVG_CONVERT} --format=pdf --output=${KR_EDITOR_GUIDE_FILE} ${kr_guide_copies}
  DEPENDS ${kr_guide_pages} ${KR_EDITOR_RESOURCE_FOLDER}/device-picture.png
  COMMENT "Making the user guide"
  VERBATIM)
add_custom_target(kr_user_guide ALL DEPENDS ${KR_EDITOR_GUIDE_FILE})

# The tables are generated and compiled once, in an object library that every program
# taking them links: a few megabytes spelled in hex are slow to write and to compile, and
# some twenty test programs and benchmarks take them.
add_library(kr_editor_resource_tables OBJECT)
kr_add_resources(kr_editor_resource_tables TYPE KRXML FOLDER ${KR_EDITOR_XML_FOLDER})
kr_add_resources(kr_editor_resource_tables TYPE GDIPLUS NAMING UPPER_FILE_NAME FILES ${KR_EDITOR_PNGS})
kr_add_resources(kr_editor_resource_tables TYPE VERSION FILES ${KR_EDITOR_VERSION_FILE})
target_compile_options(kr_editor_resource_tables PRIVATE ${KR_WARNINGS})
add_dependencies(kr_editor_resource_tables kr_editor_images)

# kr_add_editor_resources(target)
# Embeds the documents ("KRXML", named by stem: "APP_SKINS"), the images ("GDIPLUS", named
# by upper-cased file name: "DEVICE-PICTURE_PNG") and the version block ("VERSION",
# "VS_VERSION_INFO") into a program or shared library, and has the user guide built beside
# it.
function(kr_add_editor_resources target)
  get_target_property(kind ${target} TYPE)
  if(NOT kind MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
    message(FATAL_ERROR "kr_add_editor_resources(${target}): resources go into a program or a shared library")
  endif()
  target_link_libraries(${target} PRIVATE kr_editor_resource_tables kr_platform_system)
  add_dependencies(${target} kr_editor_images kr_user_guide)
endfunction()
