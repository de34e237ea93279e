#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "media/key_latch.h"

namespace pelmoravan {

// The key latch fed from the key events of one window. Keys typed into other windows (a
// dialog) do not count, and everything held is let go when the window loses activation.
class TKeyboardState final : public QObject, public IKeyboard {
    Q_OBJECT
public:
    explicit TKeyboardState(QWidget* window, QObject* parent = nullptr);
    // Feeds a latch the caller keeps instead of one of its own.
    TKeyboardState(QWidget* window, TKeyLatch& latch, QObject* parent = nullptr);
    ~TKeyboardState() override;

    void Poll() override;
    bool KeyDown(TKey key) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool InWindow(QObject* object) const;

    QPointer<QWidget> FWindow;
    TKeyLatch FOwnLatch;
    TKeyLatch& FLatch;
};

} // namespace pelmoravan
