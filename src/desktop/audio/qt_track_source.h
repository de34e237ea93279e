// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

#include "audio/music.h"

namespace pelmoravan {

// The built-in tracks among the program's resources, as ":/assets/music/<NAME>.mid" with the
// name in capitals, so that "Sound3" and "SOUND3" are the same track.
class TQtTrackSource final : public ITrackSource {
public:
    explicit TQtTrackSource(QString folder = QStringLiteral(":/assets/music")) : FFolder(std::move(folder)) {}
    std::vector<std::uint8_t> Track(const std::string& name) override;

private:
    QString FFolder;
};

} // namespace pelmoravan
