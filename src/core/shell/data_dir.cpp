// SPDX-License-Identifier: MIT
#include "shell/data_dir.h"

#include <filesystem>
#include <system_error>

namespace pelmoravan {

std::string DataFilePath(const std::string& dir, const std::string& name) {
    return dir.empty() ? name : (std::filesystem::path(dir) / name).string();
}

std::string MakeDataDir(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (!error && !std::filesystem::is_directory(dir, error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (error) {
        return "Cannot create folder \"" + dir + "\". " + error.message();
    }
    return {};
}

} // namespace pelmoravan
