// SPDX-License-Identifier: MIT
#include "desktop/media/asset_loader.h"

#include <QFile>
#include <QImage>

#include "media/catalog.h"
#include "desktop/media/picture_data.h"

namespace pelmoravan {

namespace {

void AddPicture(TPictureCollection& list, const TCatalogPicture& entry) {
    auto picture = LoadPicture(QStringLiteral(":/assets/") + QString::fromStdString(entry.Path));
    TPictureCollectionItem& item = list.Add(entry.Name);
    item.Picture = picture;
    item.Transparent = entry.Transparent;
    item.TransparentColor = entry.Key;
    if (entry.Transparent) {
        // Turn the key into alpha now rather than on the first frame.
        static_cast<TQtPictureData&>(*picture).Keyed(entry.Key);
    }
}

} // namespace

QString TilePicturePath(int number) {
    return QStringLiteral(":/assets/tiles/%1.bmp").arg(number);
}

QString TileBackPath(int level) {
    return QStringLiteral(":/assets/backs/back%1.bmp").arg(level);
}

QString ScreenPicturePath(const QString& name) {
    return QStringLiteral(":/assets/screens/%1.bmp").arg(name);
}

QString WavePath(const QString& name) { return QStringLiteral(":/assets/waves/%1.wav").arg(name); }

QByteArray LoadResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EAssetError("Resource '" + path.toStdString() + "' not found");
    }
    return file.readAll();
}

std::shared_ptr<IPictureData> LoadPicture(const QString& path) {
    const QByteArray bytes = LoadResource(path);
    QImage image;
    if (!image.loadFromData(bytes, "BMP") || image.isNull()) {
        throw EAssetError("Resource '" + path.toStdString() + "' is not a readable picture");
    }
    return std::make_shared<TQtPictureData>(image);
}

void LoadTilePictures(TPictureCollection& ImageList) {
    for (const TCatalogPicture& entry : CatalogTilePictures()) {
        AddPicture(ImageList, entry);
    }
}

void LoadScreenPictures(TPictureCollection& DXImageList1) {
    for (const TCatalogPicture& entry : CatalogScreenPictures()) {
        AddPicture(DXImageList1, entry);
    }
}

void LoadTileBacks(TPictureCollection& BackImage) {
    for (const TCatalogPicture& entry : CatalogTileBacks()) {
        AddPicture(BackImage, entry);
    }
}

void LoadWaves(TWaveCollection& DXWaveList1) {
    for (const std::string& name : CatalogWaveNames()) {
        const QString path = QStringLiteral(":/assets/") + QString::fromStdString(CatalogWavePath(name));
        auto data = std::make_shared<TWaveFileData>(LoadResource(path));
        TWaveCollectionItem& item = DXWaveList1.Add(name);
        item.Wave = std::move(data);
    }
}

void LoadCatalog(TPictureCollection& ImageList, TPictureCollection& DXImageList1,
                 TPictureCollection& BackImage, TWaveCollection& DXWaveList1) {
    LoadTilePictures(ImageList);
    LoadWaves(DXWaveList1);
    LoadScreenPictures(DXImageList1);
    LoadTileBacks(BackImage);
}

} // namespace pelmoravan
