// SPDX-License-Identifier: MIT
#pragma once
#include <QByteArray>
#include <QString>
#include <memory>
#include <stdexcept>

#include "media/canvas.h"
#include "media/catalog.h"
#include "media/collection.h"

namespace pelmoravan {

class EAssetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A wave file as stored: the sound output decodes it.
class TWaveFileData final : public IWaveFile {
public:
    explicit TWaveFileData(QByteArray bytes) : Bytes(std::move(bytes)) {}
    const std::uint8_t* FileBytes() const override { return reinterpret_cast<const std::uint8_t*>(Bytes.constData()); }
    std::size_t FileSize() const override { return static_cast<std::size_t>(Bytes.size()); }
    QByteArray Bytes;
};

// Where the assets live among the program's resources.
QString TilePicturePath(int number);    // ":/assets/tiles/<n>.bmp"
QString TileBackPath(int level);        // ":/assets/backs/back<n>.bmp"
QString ScreenPicturePath(const QString& name); // ":/assets/screens/<name>.bmp"
QString WavePath(const QString& name);  // ":/assets/waves/<name>.wav"

// Reads one picture; throws EAssetError naming the resource when it is missing or unreadable.
std::shared_ptr<IPictureData> LoadPicture(const QString& path);
QByteArray LoadResource(const QString& path);

// Each fills an empty collection with its part of the catalog, in catalog order, with names,
// pictures, transparency and keys. A missing or broken resource throws EAssetError.
void LoadTilePictures(TPictureCollection& ImageList);   // "1".."100"
void LoadScreenPictures(TPictureCollection& DXImageList1); // "back", "gameover", "logo"
void LoadTileBacks(TPictureCollection& BackImage);      // "back1".."back10"
void LoadWaves(TWaveCollection& DXWaveList1);           // the nine effects
// All four, as the main window holds them.
void LoadCatalog(TPictureCollection& ImageList, TPictureCollection& DXImageList1,
                 TPictureCollection& BackImage, TWaveCollection& DXWaveList1);

} // namespace pelmoravan
