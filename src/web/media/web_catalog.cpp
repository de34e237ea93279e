#include "web/media/web_catalog.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "web/audio/web_audio.h"
#include "media/catalog.h"
#include "media/colour_key.h"
#include "web/media/web_surface.h"

namespace pelmoravan {

namespace {

// Loads the pictures of the list (one "picture path keyed" line each; "wave path" lines
// are fetched in the background) and hands pel_catalog_loaded "" or the picture path that
// failed, as a malloc'd string.
EM_JS(void, js_load_catalog, (const char* list), {
    Pel.loadCatalog(UTF8ToString(list)).then((failed) => {
        const size = lengthBytesUTF8(failed) + 1;
        const out = _malloc(size);
        stringToUTF8(failed, out, size);
        Module._pel_catalog_loaded(out);
    });
});
EM_JS(int, js_picture_width, (int id), { return Pel.pictures[id].width; });
EM_JS(int, js_picture_height, (int id), { return Pel.pictures[id].height; });
EM_JS(int, js_picture_decoded, (int id), { return Pel.pictures[id].source ? 1 : 0; });
EM_JS(void, js_picture_pixels, (int id, std::uint8_t* rgba), { Pel.picturePixels(id, rgba); });
EM_JS(void, js_set_picture_pixels, (int id, const std::uint8_t* rgba), { Pel.setPicturePixels(id, rgba); });

struct TPendingKey {
    int Width;
    int Height;
    TColor Key;
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
    gKeys.erase(found);
}

// What FetchWebCatalog waits for.
std::function<void(const std::string&)> gFetched;

struct TTarget {
    TPictureCollection* List;
    std::vector<TCatalogPicture> Entries;
};

} // namespace

void FetchWebCatalog(std::function<void(const std::string& failed)> done) {
    gFetched = std::move(done);
    std::string list;
    for (const auto& entries : {CatalogTilePictures(), CatalogScreenPictures(), CatalogTileBacks()}) {
        for (const TCatalogPicture& entry : entries) {
            list += "picture " + entry.Path + " " + (entry.Transparent ? "1" : "0") + "\n";
        }
    }
    for (const std::string& name : CatalogWaveNames()) {
        list += "wave " + CatalogWavePath(name) + "\n";
    }
    js_load_catalog(list.c_str());
}

void LoadWebCatalog(TPictureCollection& ImageList, TPictureCollection& DXImageList1,
                    TPictureCollection& BackImage, TWaveCollection& DXWaveList1) {
    TTarget targets[] = {{&ImageList, CatalogTilePictures()},
                         {&DXImageList1, CatalogScreenPictures()},
                         {&BackImage, CatalogTileBacks()}};
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
                // Keyed once, so that every draw of it is a plain image draw: now, or when the
                // page has decoded it (the title's pictures come first, the rest after it).
                gKeys[id] = {item.Width(), item.Height(), entry.Key};
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

// The page has loaded the catalog's pictures: failed is "" or the path it could not load.
extern "C" void pel_catalog_loaded(char* failed) {
    const std::string failure = failed != nullptr ? failed : "";
    std::free(failed);
    if (pelmoravan::gFetched) {
        std::exchange(pelmoravan::gFetched, nullptr)(failure);
    }
}

// The page has decoded a picture it left for after the title.
extern "C" void pel_picture_decoded(int id) { pelmoravan::KeyPicture(id); }
