# Writes text files into a C++ source as constants, at build time:
#   cmake -DOUT=FILE.cpp -DNAMESPACE=NS -DNAMES="kA;kB" -DFILES="a.js;b.css" -P embed_text.cmake
# A missing file gives an empty text (the caller decides whether that may
# be). Source-map comments are left out: the page has no map beside it.
set(text "// Made at build time by cmake/embed_text.cmake from the files named below.\n")
string(APPEND text "namespace ${NAMESPACE} {\n")
foreach(name file IN ZIP_LISTS NAMES FILES)
  set(content "")
  if(EXISTS "${file}")
    file(READ "${file}" content)
  endif()
  string(REGEX REPLACE "[/][/*]# sourceMappingURL=[^\n]*" "" content "${content}")
  string(APPEND text "// ${file}\nextern const char ${name}[];\n"
         "const char ${name}[] = R\"embedded(${content})embedded\";\n")
endforeach()
string(APPEND text "}  // namespace ${NAMESPACE}\n")
file(WRITE "${OUT}.tmp" "${text}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
