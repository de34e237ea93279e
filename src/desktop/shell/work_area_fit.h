// SPDX-License-Identifier: MIT
#pragma once
#include <QObject>
#include <QRect>
#include <QSize>
#include <functional>

class QWidget;

namespace pelmoravan {

// Keeps a fixed-size top-level window, frame included, on the work area of its screen. On X11
// the window manager adds its frame only after the window is mapped, so the fit is made again
// whenever the frame or the work area is seen to change. With no frame (a bare X server) the
// client area is the whole work area.
class TWorkAreaFit final : public QObject {
    Q_OBJECT
public:
    // Fits the window now and keeps it fitted for as long as it lives; told, if given, the
    // client size of each new fit.
    static void Fit(QWidget& window, std::function<void(QSize)> fitted = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TWorkAreaFit(QWidget& window);
    void Apply();

    QWidget& FWindow;
    QSize FFrame{-1, -1}; // the frame the last fit allowed for
    QRect FArea;          // and the work area it filled
    std::function<void(QSize)> FFitted;
};

} // namespace pelmoravan
