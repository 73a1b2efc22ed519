# Writes the question bank BANK (if it exists) into the C++ source OUT as a byte array.
if(EXISTS "${BANK}")
  file(READ "${BANK}" hex HEX)
else()
  set(hex "")
endif()
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}.tmp" "// Generated from data/questions.tsv; do not edit.
#include \"server/EmbeddedBank.h\"

namespace server {
namespace {
const unsigned char kBank[] = {
${bytes}0};
}  // namespace

std::string_view EmbeddedBank::Text() { return {reinterpret_cast<const char*>(kBank), ${size}}; }

}  // namespace server
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
