# Copies a source file with one text replaced, for a build that must differ from the shipped
# code in exactly one constant. Fails when the text is not there once, so a moved constant
# cannot leave the copy unchanged without anyone noticing.
#   cmake -DIN=file -DOUT=file -DFROM=text -DTO=text -P change_constant.cmake
file(READ "${IN}" text)
string(FIND "${text}" "${FROM}" first)
string(FIND "${text}" "${FROM}" last REVERSE)
if(first EQUAL -1 OR NOT first EQUAL last)
    message(FATAL_ERROR "${IN}: '${FROM}' is not there exactly once")
endif()
string(REPLACE "${FROM}" "${TO}" text "${text}")
file(WRITE "${OUT}" "${text}")
