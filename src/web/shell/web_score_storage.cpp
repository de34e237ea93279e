#include "web/shell/web_score_storage.h"

#include <emscripten.h>

namespace pelmoravan {

namespace {

EM_ASYNC_JS(int, js_scores_mount, (const char* folder), {
    const path = UTF8ToString(folder);
    try {
        FS.mkdir(path);
        FS.mount(IDBFS, {}, path);
    } catch (error) {
        console.warn('pelmoravan: stored scores unavailable', error);
        return 0;
    }
    return await new Promise((resolve) => FS.syncfs(true, (error) => {
        if (error) console.warn('pelmoravan: stored scores unavailable', error);
        resolve(error ? 0 : 1);
    }));
});

// Counted while in flight, so that tests can wait for the storing to end.
EM_ASYNC_JS(int, js_scores_store, (), {
    Pel.persisting = (Pel.persisting || 0) + 1;
    try {
        return await new Promise((resolve) => FS.syncfs(false, (error) => {
            if (error) console.warn('pelmoravan: scores not stored', error);
            resolve(error ? 0 : 1);
        }));
    } finally {
        Pel.persisting -= 1;
    }
});

EM_JS(void, js_scores_store_soon, (), {
    Pel.persisting = (Pel.persisting || 0) + 1;
    FS.syncfs(false, (error) => {
        Pel.persisting -= 1;
        if (error) console.warn('pelmoravan: scores not stored', error);
    });
});

// Holds the lock until js_scores_release, then reads the stored folder in: another tab may
// have changed it.
EM_ASYNC_JS(int, js_scores_begin, (), {
    if (navigator.locks && !Pel.releaseScores) {
        try {
            await new Promise((held, refused) => {
                navigator.locks.request('pelmoravan-scores', () => new Promise((release) => {
                    Pel.releaseScores = release;
                    held();
                })).catch(refused);
            });
        } catch (error) {
            console.warn('pelmoravan: scores changed without a lock', error);
        }
    }
    return await new Promise((resolve) => FS.syncfs(true, (error) => {
        if (error) console.warn('pelmoravan: stored scores unavailable', error);
        resolve(error ? 0 : 1);
    }));
});

EM_JS(void, js_scores_release, (), {
    if (Pel.releaseScores) {
        Pel.releaseScores();
        Pel.releaseScores = null;
    }
});

} // namespace

void TWebScoreStorage::Mount(const std::string& folder) {
    if (js_scores_mount(folder.c_str()) == 0) {
        FFailed();
    }
}

void TWebScoreStorage::Store() {
    if (js_scores_store() == 0) {
        FFailed();
    }
}

void TWebScoreStorage::StoreSoon() { js_scores_store_soon(); }

void TWebScoreStorage::BeginChange() {
    if (js_scores_begin() == 0) {
        FFailed();
    }
}

void TWebScoreStorage::EndChange(bool changed) {
    if (changed) {
        Store();
    }
    js_scores_release();
}

} // namespace pelmoravan
