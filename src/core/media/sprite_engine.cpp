// SPDX-License-Identifier: MIT
#include "media/sprite_engine.h"

#include <algorithm>
#include <cmath>

namespace pelmoravan {

namespace {
void Erase(std::vector<TSprite*>& list, TSprite* sprite) {
    auto it = std::find(list.begin(), list.end(), sprite);
    if (it != list.end()) {
        list.erase(it);
    }
}
} // namespace

TSprite::TSprite(TSprite* parent) : ParentSprite(parent) {
    if (parent != nullptr) {
        parent->AddChild(this);
        if (auto* engine = dynamic_cast<TSpriteEngine*>(parent)) {
            RootEngine = engine;
        } else {
            RootEngine = parent->RootEngine;
        }
        if (RootEngine != nullptr) {
            RootEngine->SpriteTotal += 1;
        }
    }
}

TSprite::~TSprite() {
    Clear();
    if (ParentSprite != nullptr) {
        if (RootEngine != nullptr) {
            RootEngine->SpriteTotal -= 1;
        }
        ParentSprite->RemoveChild(this);
        if (RootEngine != nullptr) {
            Erase(RootEngine->DeadList, this);
        }
    }
}

void TSprite::AddChild(TSprite* child) {
    if (!Children) {
        Children = std::make_unique<std::vector<TSprite*>>();
        ZOrder = std::make_unique<std::vector<TSprite*>>();
    }
    Children->push_back(child);
    InsertZ(child);
}

void TSprite::RemoveChild(TSprite* child) {
    if (!Children) {
        return;
    }
    Erase(*Children, child);
    Erase(*ZOrder, child);
    if (Children->empty()) {
        Children.reset();
        ZOrder.reset();
    }
}

// Binary search for the first sibling with Z >= the new one's: the newcomer goes in front of
// its equals.
void TSprite::InsertZ(TSprite* child) {
    std::int32_t lo = 0;
    std::int32_t hi = static_cast<std::int32_t>(ZOrder->size()) - 1;
    while (hi >= lo) {
        const std::int32_t mid = (lo + hi) / 2;
        if ((*ZOrder)[static_cast<std::size_t>(mid)]->Z < child->Z) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    ZOrder->insert(ZOrder->begin() + lo, child);
}

void TSprite::OnCollided(TSprite*, bool&) {}
void TSprite::OnRender() {}
void TSprite::OnStep(std::int32_t) {}

TSpriteRect TSprite::GetBox() const {
    const auto left = static_cast<std::int32_t>(std::trunc(WorldX()));
    const auto top = static_cast<std::int32_t>(std::trunc(WorldY()));
    return {left, top, left + Width, top + Height};
}

bool TSprite::OverlapsWith(const TSprite*) const { return true; }

double TSprite::WorldX() const {
    return ParentSprite != nullptr ? ParentSprite->WorldX() + X : X;
}

double TSprite::WorldY() const {
    return ParentSprite != nullptr ? ParentSprite->WorldY() + Y : Y;
}

void TSprite::MarkDead() {
    if (RootEngine != nullptr && !IsDead) {
        IsDead = true;
        RootEngine->DeadList.push_back(this);
    }
}

void TSprite::Advance(std::int32_t moveCount) {
    if (!StepOn) {
        return;
    }
    OnStep(moveCount);
    const std::int32_t c = Count();
    for (std::int32_t i = 0; i < c; ++i) {
        Items(i)->Advance(moveCount);
    }
}

std::int32_t TSprite::Count() const {
    return Children ? static_cast<std::int32_t>(Children->size()) : 0;
}

TSprite* TSprite::Items(std::int32_t index) const {
    if (!Children) {
        throw ESpriteError("Index of the list exceeds the range. (" + std::to_string(index) + ")");
    }
    if (index < 0 || index >= Count()) {
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    }
    return (*Children)[static_cast<std::size_t>(index)];
}

void TSprite::SetZ(std::int32_t z) {
    if (z == Z) {
        return;
    }
    Z = z;
    if (ParentSprite != nullptr) {
        Erase(*ParentSprite->ZOrder, this);
        ParentSprite->InsertZ(this);
    }
}

void TSprite::Clear() {
    // Each child's destructor takes it out of our lists, last one first.
    while (Children) {
        delete Children->back();
    }
}

TImageSprite::TImageSprite(TSprite* parent) : TSprite(parent) { Transparent = true; }

void TImageSprite::OnStep(std::int32_t moveCount) {
    FramePos = FramePos + FrameSpeed * moveCount;
    if (FrameLooped) {
        FramePos = FrameCount > 0 ? std::fmod(FramePos, static_cast<double>(FrameCount)) : 0.0;
    } else {
        if (FramePos >= FrameCount) {
            FramePos = FrameCount - 1;
            FrameSpeed = 0;
        }
        if (FramePos < 0) {
            FramePos = 0;
            FrameSpeed = 0;
        }
    }
}

TSpriteEngine::TSpriteEngine(TSprite* parent) : TSprite(parent) {}

TSpriteEngine::~TSpriteEngine() {
    // Children must go while the dead list still exists: their destructors edit it.
    Clear();
}

void TSpriteEngine::PurgeDead() {
    while (!DeadList.empty()) {
        delete DeadList.back();
    }
}

void TSpriteEngine::BindSurface(std::int32_t width, std::int32_t height) {
    SurfaceBound = true;
    SurfaceBox = {0, 0, width, height};
    Width = width;
    Height = height;
}

void TSpriteEngine::UnbindSurface() {
    SurfaceBound = false;
}

TCustomDXSpriteEngine::TCustomDXSpriteEngine() : FRoot(std::make_unique<TSpriteEngine>(nullptr)) {}

TCustomDXSpriteEngine::~TCustomDXSpriteEngine() = default;

void TCustomDXSpriteEngine::PurgeDead() { FRoot->PurgeDead(); }

void TCustomDXSpriteEngine::Advance(std::int32_t moveCount) { FRoot->Advance(moveCount); }

void TCustomDXSpriteEngine::SurfacesInitialized(std::int32_t width, std::int32_t height) {
    FRoot->BindSurface(width, height);
}

void TCustomDXSpriteEngine::SurfacesFinalized() { FRoot->UnbindSurface(); }

} // namespace pelmoravan
