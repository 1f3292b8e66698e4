#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace kestrin {

/// The JSON the page's calls return: objects keep their keys in the order they are written.
using PageJson = nlohmann::ordered_json;

/// `value` as compact text. Bytes that are not UTF-8 (a sheet's texts are 8-bit code page
/// text) become U+FFFD instead of failing the whole reply.
inline std::string PageText(const PageJson& value) {
    return value.dump(-1, ' ', false, PageJson::error_handler_t::replace);
}

}  // namespace kestrin
