// The page's files, built into the program.
#pragma once

#include <cstddef>
#include <string_view>

namespace app::web {

struct WebAsset {
    const char* path;  // "/index.html"
    const char* type;  // the Content-Type it is served with
    const unsigned char* data;
    std::size_t size;
};

// The file served at `path`, or null.
const WebAsset* FindAsset(std::string_view path);

}  // namespace app::web
