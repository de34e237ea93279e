// SPDX-License-Identifier: MIT
// Writes every picture, wave and music track of the game, and its desktop icons, into the given
// assets folder. Same program, same fonts: same bytes; nothing depends on the clock or on
// unseeded randomness.
#include "icons.h"
#include "music.h"
#include "plates.h"
#include "tiles.h"
#include "waves.h"

#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <assets folder>\n", argv[0]);
        return 2;
    }
    // Fonts are drawn into images only: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const std::filesystem::path assets = argv[1];
    try {
        assetgen::MakeTiles(assets);
        assetgen::MakeBacks(assets);
        assetgen::MakeScreens(assets);
        assetgen::MakeWaves(assets);
        assetgen::MakeMusic(assets);
        assetgen::MakeIcons(assets);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pelmoravan_assetgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
