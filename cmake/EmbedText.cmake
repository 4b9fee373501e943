# Turns a text file into a C header holding it as a zero-terminated char array.
# cmake -DINPUT=<file> -DOUTPUT=<header> -DNAME=<array name> -P EmbedText.cmake
file(READ "${INPUT}" hex HEX)
# Character literals, so that bytes above 0x7f (UTF-8 text) fit a char array.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(('....',){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp" "#pragma once\n// Generated from ${INPUT}.\nstatic const char ${NAME}[] = {\n${bytes}0};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
