// SPDX-License-Identifier: MIT
#pragma once
#include <functional>

namespace pelmoravan {

// Brackets each locked step on the score file where the file is shared through more than the
// file system (the page's storage, which other tabs of the page share). A front end whose file
// system is the whole story has none.
// Rules: calls come on the front end's one thread; done runs exactly once, on a later turn of the
// front end's loop or at once inside the call; nothing else reaches the house meanwhile from it.
class IScoreStorage {
public:
    virtual ~IScoreStorage() = default;
    // Before the file is opened: take the lock the other sharers take, and bring the file up to
    // date from the storage; then done.
    virtual void BeginChange(std::function<void()> done) = 0;
    // After the file is closed: store it when it changed, then let the lock go; then done.
    // Called with changed false when an error ended the change.
    virtual void EndChange(bool changed, std::function<void()> done) = 0;
};

} // namespace pelmoravan
