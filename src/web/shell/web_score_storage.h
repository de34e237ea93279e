// SPDX-License-Identifier: MIT
#pragma once
#include <functional>
#include <string>

#include "ports/score_storage.h"

namespace pelmoravan {

// The score folder kept in the browser's storage (IndexedDB), which every tab of the page
// shares. Each change is made under a Web Lock, against the folder as stored, and stored
// before the list is shown. Where Web Locks are missing or refused the change goes on without
// one; where the storage cannot be read or written the folder lives for the visit only and
// Failed is called. Every call returns at once; what waits for the browser calls back from a
// later event, through pel_storage_done.
class TWebScoreStorage final : public IScoreStorage {
public:
    explicit TWebScoreStorage(std::function<void()> failed) : FFailed(std::move(failed)) {}

    // Makes folder the mount of the stored folder and reads it in; then done(ok).
    void Mount(const std::string& folder, std::function<void(bool)> done);
    // Writes the folder to the storage, calling back no one.
    void Store();

    void BeginChange(std::function<void()> done) override;
    void EndChange(bool changed, std::function<void()> done) override;

private:
    std::function<void()> FFailed;
};

} // namespace pelmoravan
