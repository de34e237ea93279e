// SPDX-License-Identifier: MIT
#include "desktop/audio/qt_track_source.h"

#include <QFile>

namespace pelmoravan {

std::vector<std::uint8_t> TQtTrackSource::Track(const std::string& name) {
    QFile file(FFolder + QLatin1Char('/') + QString::fromStdString(name).toUpper() + QStringLiteral(".mid"));
    if (!file.open(QIODevice::ReadOnly)) {
        throw ETrackNotFound(name);
    }
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

} // namespace pelmoravan
