# Turns a text file into a C header holding it as a zero-terminated char array.
# cmake -DINPUT=<file> -DOUTPUT=<header> -DNAME=<array name> -P EmbedText.cmake
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp" "#pragma once\n// Generated from ${INPUT}.\nstatic const char ${NAME}[] = {\n${bytes}0};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
