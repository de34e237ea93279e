// SPDX-License-Identifier: MIT
#include "output.h"

#include <fstream>
#include <stdexcept>

namespace assetgen {

void PutLE16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void PutLE32(Bytes& out, std::uint32_t value) {
    PutLE16(out, value & 0xFFFF);
    PutLE16(out, value >> 16);
}

void PutBE16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void PutBE32(Bytes& out, std::uint32_t value) {
    PutBE16(out, value >> 16);
    PutBE16(out, value & 0xFFFF);
}

void PutTag(Bytes& out, const char (&tag)[5]) {
    out.insert(out.end(), tag, tag + 4);
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace assetgen
