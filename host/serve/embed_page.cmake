# Writes the page's files (PAGE_FILES, in PAGE_DIR unless a path is
# absolute, as the report's side-view script is) into OUTPUT as C++ byte
# arrays, each served as /NAME, so gaugehost serves them without reading
# anything beside it.
# Run as: cmake -DPAGE_DIR=... -DPAGE_FILES=a,b,/x/c -DOUTPUT=... -P embed_page.cmake
string(REPLACE "," ";" PAGE_FILES "${PAGE_FILES}")
set(body "// Made by embed_page.cmake from host/serve/page/; do not edit.\n")
string(APPEND body "#include \"host/serve/page_assets.h\"\n\nnamespace host::serve {\nnamespace {\n")
set(rows "")
set(index 0)
foreach(file IN LISTS PAGE_FILES)
  if(NOT IS_ABSOLUTE "${file}")
    set(file "${PAGE_DIR}/${file}")
  endif()
  get_filename_component(name "${file}" NAME)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const unsigned char kFile${index}[] = {${bytes}0};\n")
  string(APPEND rows "    {\"/${name}\", kFile${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND body "const PageAsset kAssets[] = {\n${rows}};\n\n}  // namespace\n\n")
string(APPEND body "std::span<const PageAsset> page_assets() {\n  return kAssets;\n}\n\n}  // namespace host::serve\n")
file(WRITE "${OUTPUT}.tmp" "${body}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
