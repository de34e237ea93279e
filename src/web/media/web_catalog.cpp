// SPDX-License-Identifier: MIT
#include "web/media/web_catalog.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "web/audio/web_audio.h"
#include "media/catalog.h"
#include "media/colour_key.h"
#include "media/upright_tile.h"
#include "web/media/web_surface.h"

namespace pelmoravan {

namespace {

// Hands the page the list (one "picture path keyed" line each, and "wave path" lines); returns ""
// or the picture path it has no copy of, at once. The title's pictures are decoded by then (the
// page starts the program only once they are); the rest and the waves come later, each picture
// told by pel_picture_decoded.
EM_JS(char*, js_load_catalog, (const char* list), {
    const failed = Pel.loadCatalog(UTF8ToString(list));
    const size = lengthBytesUTF8(failed) + 1;
    const out = _malloc(size);
    stringToUTF8(failed, out, size);
    return out;
});
EM_JS(int, js_picture_width, (int id), { return Pel.pictures[id].width; });
EM_JS(int, js_picture_height, (int id), { return Pel.pictures[id].height; });
EM_JS(int, js_picture_decoded, (int id), { return Pel.pictures[id].source ? 1 : 0; });
EM_JS(void, js_picture_pixels, (int id, std::uint8_t* rgba), { Pel.picturePixels(id, rgba); });
EM_JS(void, js_set_picture_pixels, (int id, const std::uint8_t* rgba), { Pel.setPicturePixels(id, rgba); });
// A picture the program makes: its number, then its pixels once they are made.
EM_JS(int, js_new_picture, (int width, int height), { return Pel.newPicture(width, height); });

struct TPendingKey {
    int Width;
    int Height;
    TColor Key;
    int Upright; // the number of its tall version, or -1
};
// The keyed pictures by the page's number.
std::map<int, TPendingKey> gKeys;

void KeyPicture(int id) {
    const auto found = gKeys.find(id);
    if (found == gKeys.end()) {
        return;
    }
    const TPendingKey& picture = found->second;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(picture.Width) *
                                   static_cast<std::size_t>(picture.Height) * 4);
    js_picture_pixels(id, rgba.data());
    ClearKeyedPixels(rgba.data(), rgba.size() / 4, picture.Key);
    js_set_picture_pixels(id, rgba.data());
    if (picture.Upright >= 0) {
        js_set_picture_pixels(picture.Upright, UprightTile(rgba.data(), picture.Width, picture.Height).data());
    }
    gKeys.erase(found);
}

} // namespace

void LoadWebCatalog(TPictureCollection& ImageList, TPictureCollection& DXImageList1,
                    TPictureCollection& BackImage, TWaveCollection& DXWaveList1, TPictureCollection& Upright) {
    struct TTarget {
        TPictureCollection* List;
        std::vector<TCatalogPicture> Entries;
    };
    TTarget targets[] = {{&ImageList, CatalogTilePictures()},
                         {&DXImageList1, CatalogScreenPictures()},
                         {&BackImage, CatalogTileBacks()}};
    std::string list;
    for (const TTarget& target : targets) {
        for (const TCatalogPicture& entry : target.Entries) {
            list += "picture " + entry.Path + " " + (entry.Transparent ? "1" : "0") + "\n";
        }
    }
    for (const std::string& name : CatalogWaveNames()) {
        list += "wave " + CatalogWavePath(name) + "\n";
    }
    char* failed = js_load_catalog(list.c_str());
    const std::string failure = failed != nullptr ? failed : "";
    std::free(failed);
    if (!failure.empty()) {
        throw ECollectionError("Resource '" + failure + "' not found");
    }
    // The page numbers pictures and waves in the order they were listed.
    int id = 0;
    for (const TTarget& target : targets) {
        for (const TCatalogPicture& entry : target.Entries) {
            TPictureCollectionItem& item = target.List->Add(entry.Name);
            item.Picture = std::make_shared<TWebPictureData>(id, js_picture_width(id),
                                                             js_picture_height(id));
            item.Transparent = entry.Transparent;
            item.TransparentColor = entry.Key;
            if (entry.Transparent) {
                int upright = -1;
                if (target.List == &ImageList) {
                    TPictureCollectionItem& tall = Upright.Add(entry.Name);
                    upright = js_new_picture(item.Height(), item.Width());
                    tall.Picture = std::make_shared<TWebPictureData>(upright, item.Height(), item.Width());
                }
                // Keyed once, so that every draw of it is a plain image draw: now, or when the
                // page has decoded it (the title's pictures come first, the rest after it).
                gKeys[id] = {item.Width(), item.Height(), entry.Key, upright};
                if (js_picture_decoded(id) != 0) {
                    KeyPicture(id);
                }
            }
            ++id;
        }
    }
    int wave = 0;
    for (const std::string& name : CatalogWaveNames()) {
        DXWaveList1.Add(name).Wave = std::make_shared<TWebWaveData>(wave++);
    }
}

} // namespace pelmoravan

// The page has decoded a picture it left for after the title.
extern "C" void pel_picture_decoded(int id) { pelmoravan::KeyPicture(id); }
