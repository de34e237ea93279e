// SPDX-License-Identifier: MIT
#include "media/catalog.h"

namespace pelmoravan {

std::vector<TCatalogPicture> CatalogTilePictures() {
    std::vector<TCatalogPicture> list;
    for (int n = 1; n <= 100; ++n) {
        list.push_back({std::to_string(n), "tiles/" + std::to_string(n) + ".bmp", true, kTileKey});
    }
    return list;
}

std::vector<TCatalogPicture> CatalogScreenPictures() {
    // "logo" carries black as its key, but the key is not applied.
    return {
        {"back", "screens/back.bmp", true, 0},
        {"gameover", "screens/gameover.bmp", true, 0},
        {"logo", "screens/logo.bmp", false, 0},
    };
}

std::vector<TCatalogPicture> CatalogTileBacks() {
    std::vector<TCatalogPicture> list;
    for (int level = 1; level <= 10; ++level) {
        const std::string name = "back" + std::to_string(level);
        list.push_back({name, "backs/" + name + ".bmp", true, 0});
    }
    return list;
}

const std::vector<std::string>& CatalogWaveNames() {
    static const std::vector<std::string> names = {"Alert",   "chimes",  "ding", "notify", "Pagemove",
                                                   "recycle", "TestSnd", "tada", "event"};
    return names;
}

std::string CatalogWavePath(const std::string& name) { return "waves/" + name + ".wav"; }

} // namespace pelmoravan
