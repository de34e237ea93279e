#pragma once
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include "media/keyboard.h"

namespace pelmoravan {

// Esc and F9 as the frame loop reads them: kept from the key events of one window, read once
// per tick. A key tapped between two polls still counts as down at the next poll, so that a
// press shorter than a tick is not lost. Keys typed into other windows (a dialog) do not count,
// and everything held is let go when the window loses activation, because its releases would
// go elsewhere.
class TKeyboardState final : public QObject, public IKeyboard {
    Q_OBJECT
public:
    explicit TKeyboardState(QWidget* window, QObject* parent = nullptr);
    ~TKeyboardState() override;

    void Poll() override;
    bool KeyDown(TKey key) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool InWindow(QObject* object) const;

    QPointer<QWidget> FWindow;
    QSet<int> FHeld;        // down now, from the events
    QSet<int> FTapped;      // went down since the last poll
    QSet<int> FPolled;      // as the last poll saw it
};

} // namespace pelmoravan
