#pragma once
#include <functional>
#include <string>

#include "media/collection.h"

namespace pelmoravan {

// Asks the page to fetch and decode the catalog's files and returns at once; done runs on a
// later event with "" once the pictures the title needs are in, or with the path of a file the
// page could not load.
void FetchWebCatalog(std::function<void(const std::string& failed)> done);
// Fills the four empty collections from the page's copies of the catalog's files, once
// FetchWebCatalog said they are in.
void LoadWebCatalog(TPictureCollection& ImageList, TPictureCollection& DXImageList1,
                    TPictureCollection& BackImage, TWaveCollection& DXWaveList1);

} // namespace pelmoravan
