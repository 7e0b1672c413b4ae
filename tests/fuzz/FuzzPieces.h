// Splits a fuzz input into the pieces a reader receives one after another (datagrams,
// messages): the marker below separates them, so a seed stays readable and a dictionary
// entry lets the fuzzer add or drop a piece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fuzzpieces {

inline constexpr std::string_view kNext = "@@next@@";

// At most maxPieces pieces; the last one keeps whatever follows.
inline std::vector<std::string_view> split(const uint8_t *data, size_t size, size_t maxPieces)
{
    std::string_view rest(reinterpret_cast<const char *>(data), size);
    std::vector<std::string_view> pieces;
    while (pieces.size() + 1 < maxPieces) {
        const size_t at = rest.find(kNext);
        if (at == std::string_view::npos)
            break;
        pieces.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kNext.size());
    }
    pieces.push_back(rest);
    return pieces;
}

} // namespace fuzzpieces
