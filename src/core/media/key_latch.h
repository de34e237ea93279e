// SPDX-License-Identifier: MIT
#pragma once
#include <set>

#include "media/keyboard.h"

namespace pelmoravan {

// Esc and F9 as the frame loop reads them, kept from a window's key events and read once per
// tick. A key tapped between two polls still counts as down at the next poll, so that a press
// shorter than a tick is not lost. The platform reports presses and releases of its own window
// only (not auto-repeats), and lets go of everything when the window loses the keyboard, since
// its releases would go elsewhere.
class TKeyLatch final : public IKeyboard {
public:
    void Press(TKey key);
    void Release(TKey key);
    void LetGoAll();

    void Poll() override;
    bool KeyDown(TKey key) const override;

private:
    std::set<TKey> FHeld;   // down now, from the events
    std::set<TKey> FTapped; // went down since the last poll
    std::set<TKey> FPolled; // as the last poll saw it
};

} // namespace pelmoravan
