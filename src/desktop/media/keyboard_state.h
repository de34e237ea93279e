// SPDX-License-Identifier: MIT
#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "media/key_latch.h"

namespace pelmoravan {

// The key latch fed from the key events of one window. Keys typed into other windows (a
// dialog) do not count, and everything held is let go when the window loses activation.
class TKeyboardState final : public QObject {
    Q_OBJECT
public:
    // The latch is the caller's, which the game polls.
    TKeyboardState(QWidget* window, TKeyLatch& latch, QObject* parent = nullptr);
    ~TKeyboardState() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool InWindow(QObject* object) const;

    QPointer<QWidget> FWindow;
    TKeyLatch& FLatch;
};

} // namespace pelmoravan
