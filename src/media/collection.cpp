#include "media/collection.h"

namespace pelmoravan {

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::uint8_t NameBucket(const std::string& name) {
    const std::string lower = LowerAscii(name);
    std::uint32_t bucket = 16u * static_cast<std::uint32_t>(lower.size());
    if (lower.size() >= 2) {
        bucket += static_cast<unsigned char>(lower[0]);
        bucket += static_cast<unsigned char>(lower[lower.size() - 2]);
    }
    return static_cast<std::uint8_t>(bucket % 256u);
}

} // namespace pelmoravan
