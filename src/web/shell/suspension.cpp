#include "web/shell/suspension.h"

#include <stdexcept>

namespace pelmoravan {

namespace {
bool gInFlight = false;
bool gYielding = false;
bool gStoring = false;
} // namespace

TSuspension::TSuspension(TKind kind) {
    if (gInFlight) {
        // Callers test InFlight() first; a second suspension would corrupt the first.
        throw std::logic_error("a call is already waiting for the page");
    }
    gInFlight = true;
    gYielding = kind == TKind::Yield;
    gStoring = kind == TKind::Storage;
}

TSuspension::~TSuspension() {
    gInFlight = false;
    gYielding = false;
    gStoring = false;
}

bool TSuspension::InFlight() { return gInFlight; }
bool TSuspension::Yielding() { return gYielding; }
bool TSuspension::Storing() { return gStoring; }

} // namespace pelmoravan
