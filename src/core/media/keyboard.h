// SPDX-License-Identifier: MIT
#pragma once

namespace pelmoravan {

// The only keys the game reads itself; every other key reaches it through the menu.
enum class TKey { Escape, F9 };

// Keyboard state as the frame loop polls it: Poll() takes one reading, KeyDown() answers from
// that reading until the next Poll().
class IKeyboard {
public:
    virtual ~IKeyboard() = default;
    virtual void Poll() = 0;
    virtual bool KeyDown(TKey key) const = 0;
};

} // namespace pelmoravan
