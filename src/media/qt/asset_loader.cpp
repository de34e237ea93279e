#include "media/qt/asset_loader.h"

#include <QFile>
#include <QImage>

#include "media/qt/picture_data.h"

namespace pelmoravan {

namespace {

struct TPictureEntry {
    const char* Name;
    bool Transparent;
    TColor Key;
};

// "logo" carries black as its key, but the key is not applied.
constexpr TPictureEntry kScreenPictures[] = {
    {"back", true, 0},
    {"gameover", true, 0},
    {"logo", false, 0},
};

// Positions matter: the shuffle sound is played by position 4.
constexpr const char* kWaveNames[] = {"Alert",   "chimes",  "ding", "notify", "Pagemove",
                                      "recycle", "TestSnd", "tada", "event"};

void AddPicture(TPictureCollection& list, const QString& name, const QString& path,
                bool transparent, TColor key) {
    auto picture = LoadPicture(path);
    TPictureCollectionItem& item = list.Add(name.toStdString());
    item.Picture = picture;
    item.Transparent = transparent;
    item.TransparentColor = key;
    if (transparent) {
        // Turn the key into alpha now rather than on the first frame.
        static_cast<TQtPictureData&>(*picture).Keyed(key);
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
    for (int n = 1; n <= 100; ++n) {
        AddPicture(ImageList, QString::number(n), TilePicturePath(n), true, kTileKey);
    }
}

void LoadScreenPictures(TPictureCollection& DXImageList1) {
    for (const TPictureEntry& entry : kScreenPictures) {
        const QString name = QString::fromLatin1(entry.Name);
        AddPicture(DXImageList1, name, ScreenPicturePath(name), entry.Transparent, entry.Key);
    }
}

void LoadTileBacks(TPictureCollection& BackImage) {
    for (int level = 1; level <= 10; ++level) {
        AddPicture(BackImage, QStringLiteral("back%1").arg(level), TileBackPath(level), true, 0);
    }
}

void LoadWaves(TWaveCollection& DXWaveList1) {
    for (const char* name : kWaveNames) {
        const QString qname = QString::fromLatin1(name);
        auto data = std::make_shared<TWaveFileData>(LoadResource(WavePath(qname)));
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
