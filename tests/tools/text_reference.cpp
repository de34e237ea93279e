// SPDX-License-Identifier: MIT
// Draws a text as the play surface draws the status band's texts (white on a black box, in the
// canvas's face at a point size) and saves just the text's box as a PNG. Window tests look for
// it on the screen. Usage: text_reference TEXT POINTS OUT.png
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "desktop/media/qt_surface.h"

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: text_reference TEXT POINTS OUT.png\n");
        return 2;
    }
    const std::string text = argv[1];
    pelmoravan::TQtSurface surface(QSize(1000, 200));
    pelmoravan::ICanvas& canvas = surface.Canvas();
    canvas.SetBrushStyle(pelmoravan::TBrushStyle::bsSolid);
    canvas.SetBrushColor(0);
    canvas.SetFontColor(0xFFFFFF);
    canvas.SetFontSize(std::atoi(argv[2]));
    canvas.TextOut(0, 0, text);
    const int width = canvas.TextWidth(text);
    const int height = canvas.TextHeight(text);
    canvas.Release();
    return surface.Image().copy(0, 0, width, height).save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}
