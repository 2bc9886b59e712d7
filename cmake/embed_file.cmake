# cmake -DINPUT=FILE -DOUTPUT=FILE.cpp -DSYMBOL=NAME -P embed_file.cmake
# writes a C++ source that holds FILE's bytes as NAME and NAME_size.
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT} by cmake/embed_file.cmake.\n#include <cstddef>\n#include <cstdint>\n\nextern const uint8_t ${SYMBOL}[] = {\n${bytes}\n};\nextern const size_t ${SYMBOL}_size = ${size};\n")
