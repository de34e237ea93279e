#pragma once
#include <functional>
#include <string>

#include "shell/score_file.h"

namespace pelmoravan {

// The score folder kept in the browser's storage (IndexedDB), which every tab of the page
// shares. Each change is made under a Web Lock, against the folder as stored, and stored
// before the list is shown. Where Web Locks are missing or refused the change goes on without
// one; where the storage cannot be read or written the folder lives for the visit only and
// Failed is called. Each call waits (suspended) for the browser.
class TWebScoreStorage final : public IScoreStorage {
public:
    explicit TWebScoreStorage(std::function<void()> failed) : FFailed(std::move(failed)) {}

    // Makes folder the mount of the stored folder and reads it in.
    void Mount(const std::string& folder);
    // Writes the folder to the storage.
    void Store();
    // Starts writing it and returns at once, for a change made while nothing may wait.
    void StoreSoon();

    void BeginChange() override;
    void EndChange(bool changed) override;

private:
    std::function<void()> FFailed;
};

} // namespace pelmoravan
