// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace pelmoravan {

class TPictureCollectionItem;
class TSpriteEngine;

class ESpriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TSpriteRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TSpriteRect&) const = default;
};

// A node of the sprite tree. A sprite owns its children; the root engine only queues the dead.
// Sprites register themselves with their parent on construction and are freed by their parent,
// by the engine's purge, or by the destruction of the tree.
class TSprite {
public:
    explicit TSprite(TSprite* parent);
    virtual ~TSprite();
    TSprite(const TSprite&) = delete;
    TSprite& operator=(const TSprite&) = delete;

    TSpriteEngine* RootEngine = nullptr;
    TSprite* ParentSprite = nullptr;
    std::unique_ptr<std::vector<TSprite*>> Children;
    bool IsDead = false;
    std::unique_ptr<std::vector<TSprite*>> ZOrder;
    bool CollisionOn = true;
    bool StepOn = true;
    bool Shown = true;
    double X = 0;
    double Y = 0;
    std::int32_t Z = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    virtual void OnCollided(TSprite* other, bool& done);
    virtual void OnRender();
    virtual void OnStep(std::int32_t moveCount);
    virtual TSpriteRect GetBox() const;
    virtual bool OverlapsWith(const TSprite* other) const;

    void MarkDead();
    void Advance(std::int32_t moveCount);
    std::int32_t Count() const;
    TSprite* Items(std::int32_t index) const;
    void SetZ(std::int32_t z);
    void Clear();

    double WorldX() const;
    double WorldY() const;

private:
    void AddChild(TSprite* child);
    void RemoveChild(TSprite* child);
    void InsertZ(TSprite* child);
};

// A sprite that would draw a picture; the game uses only its animation step.
class TImageSprite : public TSprite {
public:
    explicit TImageSprite(TSprite* parent);

    std::int32_t FrameCount = 0;
    bool FrameLooped = false;
    double FramePos = 0;
    double FrameSpeed = 0;
    std::int32_t FirstFrame = 0;
    const TPictureCollectionItem* Image = nullptr;
    bool PixelExact = false;
    bool Wrapped = false;
    bool Transparent = true;

    void OnStep(std::int32_t moveCount) override;
};

// The root of the tree: counts the sprites under it and frees the dead ones on request.
class TSpriteEngine : public TSprite {
public:
    explicit TSpriteEngine(TSprite* parent);
    ~TSpriteEngine() override;

    std::vector<TSprite*> DeadList;
    std::int32_t SpriteTotal = 0;
    bool SurfaceBound = false;
    TSpriteRect SurfaceBox;

    void PurgeDead();
    void BindSurface(std::int32_t width, std::int32_t height);
    void UnbindSurface();
};

// The component on the main window: owns the root for its whole life and follows the drawing
// control's surfaces.
class TCustomDXSpriteEngine {
public:
    TCustomDXSpriteEngine();
    virtual ~TCustomDXSpriteEngine();
    TCustomDXSpriteEngine(const TCustomDXSpriteEngine&) = delete;
    TCustomDXSpriteEngine& operator=(const TCustomDXSpriteEngine&) = delete;

    TSpriteEngine* Root() const { return FRoot.get(); }
    void PurgeDead();
    void Advance(std::int32_t moveCount);

    // Told by the drawing control when its surfaces are made or released.
    void SurfacesInitialized(std::int32_t width, std::int32_t height);
    void SurfacesFinalized();

private:
    std::unique_ptr<TSpriteEngine> FRoot;
};

class TDXSpriteEngine : public TCustomDXSpriteEngine {};

} // namespace pelmoravan
