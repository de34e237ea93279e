// SPDX-License-Identifier: MIT
#include "desktop/audio/soundfont_views.h"

#include <fluidsynth.h>

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

#include "audio/soundfont_view.h"

namespace pelmoravan {
namespace {

constexpr const char* kPrefix = "pelmoravan-view:";

struct TEntry {
    std::string Path;
    std::shared_ptr<const TSoundFontView> View;
};

std::mutex Lock;
std::map<std::string, TEntry>& Registry() {
    static auto* registry = new std::map<std::string, TEntry>; // outlives every synthesizer
    return *registry;
}

struct THandle {
    std::FILE* File = nullptr;
    std::shared_ptr<const TSoundFontView> View; // null: the file as it is
    std::uint64_t At = 0;
};

TReadAt FileReader(std::FILE* file) {
    return [file](std::uint64_t offset, std::uint8_t* out, std::size_t count) {
        return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
               std::fread(out, 1, count, file) == count;
    };
}

void* Open(const char* name) {
    auto handle = std::make_unique<THandle>();
    std::string path = name;
    if (path.rfind(kPrefix, 0) == 0) {
        std::lock_guard<std::mutex> lock(Lock);
        const auto found = Registry().find(path);
        if (found == Registry().end()) {
            return nullptr;
        }
        path = found->second.Path;
        handle->View = found->second.View;
    }
    handle->File = std::fopen(path.c_str(), "rb");
    return handle->File != nullptr ? handle.release() : nullptr;
}

int Read(void* buffer, fluid_long_long_t count, void* opaque) {
    auto* handle = static_cast<THandle*>(opaque);
    const auto bytes = static_cast<std::size_t>(count);
    if (handle->View == nullptr) {
        return std::fread(buffer, 1, bytes, handle->File) == bytes ? FLUID_OK : FLUID_FAILED;
    }
    if (!handle->View->Read(FileReader(handle->File), handle->At, static_cast<std::uint8_t*>(buffer), bytes)) {
        return FLUID_FAILED;
    }
    handle->At += bytes;
    return FLUID_OK;
}

int Seek(void* opaque, fluid_long_long_t offset, int origin) {
    auto* handle = static_cast<THandle*>(opaque);
    if (handle->View == nullptr) {
        return fseeko(handle->File, static_cast<off_t>(offset), origin) == 0 ? FLUID_OK : FLUID_FAILED;
    }
    const auto size = static_cast<fluid_long_long_t>(handle->View->Size());
    const fluid_long_long_t base = origin == SEEK_SET   ? 0
                                   : origin == SEEK_CUR ? static_cast<fluid_long_long_t>(handle->At)
                                                        : size;
    if (offset < -base || offset > size - base) {
        return FLUID_FAILED;
    }
    handle->At = static_cast<std::uint64_t>(base + offset);
    return FLUID_OK;
}

fluid_long_long_t Tell(void* opaque) {
    auto* handle = static_cast<THandle*>(opaque);
    return handle->View == nullptr ? static_cast<fluid_long_long_t>(ftello(handle->File))
                                   : static_cast<fluid_long_long_t>(handle->At);
}

int Close(void* opaque) {
    auto* handle = static_cast<THandle*>(opaque);
    std::fclose(handle->File);
    delete handle;
    return FLUID_OK;
}

} // namespace

fluid_sfloader_t* TSoundFontViews::NewLoader(fluid_settings_t* settings) {
    fluid_sfloader_t* loader = new_fluid_defsfloader(settings);
    if (loader != nullptr) {
        fluid_sfloader_set_callbacks(loader, Open, Read, Seek, Tell, Close);
    }
    return loader;
}

std::string TSoundFontViews::Register(const std::string& path, const std::set<int>& programs) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return "";
    }
    std::optional<TSoundFontView> view;
    if (fseeko(file, 0, SEEK_END) == 0) {
        const off_t size = ftello(file);
        if (size > 0) {
            view = ViewWithPrograms(FileReader(file), static_cast<std::uint64_t>(size), programs);
        }
    }
    std::fclose(file);
    if (!view) {
        return "";
    }
    const std::string name = kPrefix + path;
    std::lock_guard<std::mutex> lock(Lock);
    Registry()[name] = {path, std::make_shared<const TSoundFontView>(std::move(*view))};
    return name;
}

} // namespace pelmoravan
