# Writes the C++ table of one embedded folder or list of files; run by kr_add_resources at
# build time.
#   cmake -DFOLDER=... -DTYPE=... -DNAMING=STEM|UPPER_FILE_NAME -DOUTPUT=... -P EmbedResources.cmake
#   cmake -DFILES=a|b|... -DTYPE=... ...  (the list joined with "|")
# Every byte becomes a hex literal, so the generated source changes whenever a file
# does, and a compiler cache never serves an object built from older bytes.

include(${CMAKE_CURRENT_LIST_DIR}/ResourceNames.cmake)

if(DEFINED FILES)
  string(REPLACE "|" ";" files "${FILES}")
  set(leaf "a list of files")
else()
  file(GLOB files LIST_DIRECTORIES false ${FOLDER}/*)
  # Hidden files (".gitkeep", editors' swap files) are no resources.
  list(FILTER files EXCLUDE REGEX "/\\.[^/]*$")
  # The folder's own name only, so the text is the same in every checkout.
  get_filename_component(leaf ${FOLDER} NAME)
  set(leaf "the folder ${leaf}")
endif()
list(SORT files)

# CMake's expressions have no counted repetition: the line pattern is spelled out.
string(REPEAT "0x[0-9a-f][0-9a-f]," 24 line_of_bytes)

set(body "// Generated from ${leaf} by cmake/EmbedResources.cmake; do not edit.\n\n")
string(APPEND body "#include \"platform/system/Resources.h\"\n\nnamespace\n{\n\n")
set(entries "")
set(index 0)
foreach(file ${files})
  kr_resource_name(name ${file} ${NAMING})
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  # Lines of 24 bytes keep the generated file readable in a diff.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(${line_of_bytes})" "\\1\n    " bytes "${bytes}")
  string(APPEND body "// ${name}\nconst unsigned char kData${index}[] = {\n    ${bytes}0x00};\n\n")
  string(APPEND entries "    {\"${TYPE}\", \"${name}\", kData${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()

if(index EQUAL 0)
  string(APPEND body "const KR::Platform::ResourceRegistration kRegistration(nullptr, 0);\n")
else()
  string(APPEND body "const KR::Platform::EmbeddedResource kTable[] = {\n${entries}};\n\n")
  string(APPEND body "const KR::Platform::ResourceRegistration kRegistration(kTable, ${index});\n")
endif()
string(APPEND body "\n} // namespace\n")

file(WRITE ${OUTPUT} "${body}")
