// SPDX-License-Identifier: MIT
#include "web/shell/web_score_storage.h"

#include <emscripten.h>

#include <map>
#include <utility>

namespace pelmoravan {

namespace {

// What waits for the browser, by the number the page hands back to pel_storage_done.
std::map<int, std::function<void(bool)>>& Pending() {
    static std::map<int, std::function<void(bool)>> pending;
    return pending;
}

int Await(std::function<void(bool)> done) {
    static int next = 0;
    next += 1;
    Pending().emplace(next, std::move(done));
    return next;
}

EM_JS(void, js_scores_mount, (const char* folder, int token), {
    const path = UTF8ToString(folder);
    try {
        FS.mkdir(path);
        FS.mount(IDBFS, {}, path);
    } catch (error) {
        console.warn('pelmoravan: stored scores unavailable', error);
        setTimeout(() => Module._pel_storage_done(token, 0), 0);
        return;
    }
    FS.syncfs(true, (error) => {
        if (error) console.warn('pelmoravan: stored scores unavailable', error);
        Module._pel_storage_done(token, error ? 0 : 1);
    });
});

// Counted while in flight, so that tests can wait for the storing to end; token 0 calls back
// no one.
EM_JS(void, js_scores_store, (int token), {
    Pel.persisting = (Pel.persisting || 0) + 1;
    FS.syncfs(false, (error) => {
        Pel.persisting -= 1;
        if (error) console.warn('pelmoravan: scores not stored', error);
        Module._pel_storage_done(token, error ? 0 : 1);
    });
});

// Takes the lock, held until js_scores_release, then reads the stored folder in: another tab
// may have changed it.
EM_JS(void, js_scores_begin, (int token), {
    const read = () => FS.syncfs(true, (error) => {
        if (error) console.warn('pelmoravan: stored scores unavailable', error);
        Module._pel_storage_done(token, error ? 0 : 1);
    });
    if (!navigator.locks || Pel.releaseScores) {
        setTimeout(read, 0);
        return;
    }
    navigator.locks.request('pelmoravan-scores', () => new Promise((release) => {
        Pel.releaseScores = release;
        read();
    })).catch((error) => {
        console.warn('pelmoravan: scores changed without a lock', error);
        read();
    });
});

EM_JS(void, js_scores_release, (), {
    if (Pel.releaseScores) {
        Pel.releaseScores();
        Pel.releaseScores = null;
    }
});

} // namespace

void TWebScoreStorage::Mount(const std::string& folder, std::function<void(bool)> done) {
    js_scores_mount(folder.c_str(), Await([this, done = std::move(done)](bool ok) {
                        if (!ok) {
                            FFailed();
                        }
                        done(ok);
                    }));
}

void TWebScoreStorage::Store() {
    js_scores_store(Await([this](bool ok) {
        if (!ok) {
            FFailed();
        }
    }));
}

void TWebScoreStorage::BeginChange(std::function<void()> done) {
    js_scores_begin(Await([this, done = std::move(done)](bool ok) {
        if (!ok) {
            FFailed();
        }
        done();
    }));
}

void TWebScoreStorage::EndChange(bool changed, std::function<void()> done) {
    if (!changed) {
        js_scores_release();
        done();
        return;
    }
    js_scores_store(Await([this, done = std::move(done)](bool ok) {
        js_scores_release();
        if (!ok) {
            FFailed();
        }
        done();
    }));
}

} // namespace pelmoravan

// The browser finished what the call numbered token waited for; ok 0 when it failed.
extern "C" void pel_storage_done(int token, int ok) {
    auto& pending = pelmoravan::Pending();
    const auto found = pending.find(token);
    if (found == pending.end()) {
        return;
    }
    std::function<void(bool)> done = std::move(found->second);
    pending.erase(found);
    done(ok != 0);
}
