// SPDX-License-Identifier: MIT
#pragma once
#include "media/collection.h"

namespace pelmoravan {

// Fills the four empty collections from the page's copies of the catalog's files, without waiting:
// the title's pictures are decoded by then, the others keep their size and are drawn once the page
// has them (it holds back every command that could draw them until then). Throws ECollectionError
// naming a picture the page has no copy of. Upright gets each tile picture on a tall plate, made
// once the page has the picture.
void LoadWebCatalog(TPictureCollection& ImageList, TPictureCollection& DXImageList1,
                    TPictureCollection& BackImage, TWaveCollection& DXWaveList1, TPictureCollection& Upright);

} // namespace pelmoravan
