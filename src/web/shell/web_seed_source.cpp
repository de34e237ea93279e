// SPDX-License-Identifier: MIT
#include "web/shell/web_seed_source.h"

#include <emscripten.h>

namespace pelmoravan {

namespace {
EM_JS(double, js_now_ms, (), { return performance.now(); });
} // namespace

std::uint32_t TWebSeedSource::Counter() {
    auto now = static_cast<std::uint64_t>(js_now_ms() * 1e6);
    if (now < FLast + 1000) {
        now = FLast + 1000;
    }
    FLast = now;
    return static_cast<std::uint32_t>(now);
}

} // namespace pelmoravan
