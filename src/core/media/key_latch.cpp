// SPDX-License-Identifier: MIT
#include "media/key_latch.h"

namespace pelmoravan {

void TKeyLatch::Press(TKey key) {
    FHeld.insert(key);
    FTapped.insert(key);
}

void TKeyLatch::Release(TKey key) { FHeld.erase(key); }

void TKeyLatch::LetGoAll() {
    FHeld.clear();
    FTapped.clear();
}

void TKeyLatch::Poll() {
    FPolled = FHeld;
    FPolled.insert(FTapped.begin(), FTapped.end());
    FTapped.clear();
}

bool TKeyLatch::KeyDown(TKey key) const { return FPolled.contains(key); }

} // namespace pelmoravan
