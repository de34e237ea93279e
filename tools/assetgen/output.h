// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace assetgen {

using Bytes = std::vector<std::uint8_t>;

// Little-endian and big-endian appenders for the file formats written here.
void PutLE16(Bytes& out, std::uint32_t value);
void PutLE32(Bytes& out, std::uint32_t value);
void PutBE16(Bytes& out, std::uint32_t value);
void PutBE32(Bytes& out, std::uint32_t value);
void PutTag(Bytes& out, const char (&tag)[5]);

// Writes the whole file, creating its folder; throws std::runtime_error on failure.
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace assetgen
