# Writes OUT, a C++ source that holds the page's files (NAMES, "|"-separated, in DIR) as byte
# arrays, so that the program serves its page with no files beside it and no outside tools.
string(REPLACE "|" ";" names "${NAMES}")
set(arrays "")
set(table "")
set(index 0)
foreach(name IN LISTS names)
  file(READ "${DIR}/${name}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  if(name MATCHES "\\.html$")
    set(type "text/html; charset=utf-8")
  elseif(name MATCHES "\\.js$")
    # Not a text/ type: the server's library compresses those for the browser, and the
    # scripts are large enough for that to cost more than sending them to 127.0.0.1.
    set(type "application/javascript; charset=utf-8")
  elseif(name MATCHES "\\.css$")
    set(type "text/css; charset=utf-8")
  else()
    set(type "application/octet-stream")
  endif()
  string(APPEND arrays "const unsigned char kData${index}[] = {${bytes} 0};\n")
  string(APPEND table "    {\"/${name}\", \"${type}\", kData${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUT}.tmp" "// Generated from app/web/page by embed_assets.cmake; do not edit.
#include \"app/web/web_assets.h\"

namespace app::web {
namespace {
${arrays}
const WebAsset kAssets[] = {
${table}};
}  // namespace

const WebAsset* FindAsset(std::string_view path) {
    for (const WebAsset& asset : kAssets) {
        if (path == asset.path) {
            return &asset;
        }
    }
    return nullptr;
}

}  // namespace app::web
")
# Rewritten only when it changed, so that an unchanged page compiles nothing again.
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
