#pragma once
#include "media/collection.h"

namespace pelmoravan {

// Fills the four empty collections from the page's copies of the catalog's files, waiting
// (suspended) while the page fetches and decodes them. Throws ECollectionError naming a file the
// page could not load.
void LoadWebCatalog(TPictureCollection& ImageList, TPictureCollection& DXImageList1,
                    TPictureCollection& BackImage, TWaveCollection& DXWaveList1);

} // namespace pelmoravan
