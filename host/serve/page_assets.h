#pragma once
// The live panel's page: its files, built into gaugehost from
// host/serve/page/ (see embed_page.cmake), so nothing is read or fetched
// from elsewhere when it is served.
#include <cstddef>
#include <span>
#include <string_view>

namespace host::serve {

struct PageAsset {
  const char* path;  // as requested, e.g. "/live.js"
  const unsigned char* bytes;
  size_t size;
};

std::span<const PageAsset> page_assets();

// The content type of a page file by its extension.
const char* content_type(std::string_view path);

}  // namespace host::serve
