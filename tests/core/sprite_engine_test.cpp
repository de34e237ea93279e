// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "media/sprite_engine.h"
#include "game/tile_sprite.h"

namespace pelmoravan {
namespace {

class CountingSprite : public TImageSprite {
public:
    CountingSprite(TSprite* parent, std::vector<int>* log, int id)
        : TImageSprite(parent), Log(log), Id(id) {}
    ~CountingSprite() override {
        if (Log != nullptr) {
            Log->push_back(-Id);
        }
    }
    void OnStep(std::int32_t n) override {
        TImageSprite::OnStep(n);
        Steps.push_back(n);
        if (Log != nullptr) {
            Log->push_back(Id);
        }
    }
    std::vector<int>* Log;
    int Id;
    std::vector<std::int32_t> Steps;
};

TEST(SpriteEngine, ZOrderPutsANewSpriteInFrontOfItsEquals) {
    TDXSpriteEngine engine;
    TSpriteEngine* root = engine.Root();
    auto* a = new TImageSprite(root);
    a->SetZ(2);
    auto* b = new TImageSprite(root);
    b->SetZ(2);
    auto* c = new TImageSprite(root);
    c->SetZ(2);
    ASSERT_EQ(root->Count(), 3);
    EXPECT_EQ(root->Items(0), a);
    EXPECT_EQ(root->Items(2), c);
    EXPECT_EQ(*root->ZOrder, (std::vector<TSprite*>{c, b, a}));

    auto* low = new TImageSprite(root); // Z 0 stays in front of all
    EXPECT_EQ(root->ZOrder->front(), low);
    low->SetZ(5);
    EXPECT_EQ(root->ZOrder->back(), low);
    b->SetZ(1);
    EXPECT_EQ(*root->ZOrder, (std::vector<TSprite*>{b, c, a, low}));
    b->SetZ(1); // unchanged Z keeps the place
    EXPECT_EQ(root->ZOrder->front(), b);
}

TEST(SpriteEngine, MarkDeadQueuesOnceAndPurgeFrees) {
    TDXSpriteEngine engine;
    TSpriteEngine* root = engine.Root();
    auto* a = new TMonoSprite(root);
    new TMonoSprite(root);
    EXPECT_EQ(root->SpriteTotal, 2);
    a->MarkDead();
    a->MarkDead();
    EXPECT_TRUE(a->IsDead);
    EXPECT_EQ(root->DeadList.size(), 1u);
    EXPECT_EQ(root->Count(), 2); // still there until the purge
    engine.PurgeDead();
    EXPECT_EQ(root->Count(), 1);
    EXPECT_EQ(root->SpriteTotal, 1);
    EXPECT_TRUE(root->DeadList.empty());
}

TEST(SpriteEngine, EmptiedRootDropsItsListsAndReportsTheIndex) {
    TDXSpriteEngine engine;
    TSpriteEngine* root = engine.Root();
    for (int i = 0; i < 3; ++i) {
        new TMonoSprite(root);
    }
    for (int i = 0; i < root->Count(); ++i) {
        root->Items(i)->MarkDead();
    }
    engine.PurgeDead();
    EXPECT_EQ(root->Count(), 0);
    EXPECT_FALSE(root->Children);
    EXPECT_FALSE(root->ZOrder);
    try {
        root->Items(0);
        FAIL() << "Items(0) on an empty root must fail";
    } catch (const ESpriteError& e) {
        EXPECT_STREQ(e.what(), "Index of the list exceeds the range. (0)");
    }
    new TMonoSprite(root);
    EXPECT_THROW(root->Items(1), std::out_of_range);
    EXPECT_THROW(root->Items(-1), std::out_of_range);
}

TEST(SpriteEngine, AdvanceStepsEverySpriteOnceAndSkipsDisabledSubtrees) {
    std::vector<int> log; // outlives the engine: the sprites log their destruction
    TDXSpriteEngine engine;
    TSpriteEngine* root = engine.Root();
    auto* a = new CountingSprite(root, &log, 1);
    auto* b = new CountingSprite(root, &log, 2);
    auto* child = new CountingSprite(b, &log, 3);
    engine.Advance(3);
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(a->Steps, std::vector<std::int32_t>{3});
    EXPECT_EQ(a->FramePos, 0.0);
    EXPECT_EQ(a->FrameSpeed, 0.0);

    log.clear();
    b->StepOn = false;
    engine.Advance(1);
    EXPECT_EQ(log, std::vector<int>{1});
    EXPECT_EQ(child->Steps.size(), 1u);
    // A dead sprite is still stepped until it is purged.
    a->MarkDead();
    log.clear();
    engine.Advance(1);
    EXPECT_EQ(log, std::vector<int>{1});
    log.clear();
    engine.PurgeDead();
    EXPECT_EQ(log, std::vector<int>{-1});
}

TEST(SpriteEngine, DestructionFreesChildrenLastFirstAndCountsThemOff) {
    std::vector<int> log;
    {
        TDXSpriteEngine engine;
        TSpriteEngine* root = engine.Root();
        auto* parent = new CountingSprite(root, &log, 1);
        new CountingSprite(parent, &log, 2);
        new CountingSprite(parent, &log, 3);
        new CountingSprite(root, &log, 4);
        EXPECT_EQ(root->SpriteTotal, 4);
        EXPECT_EQ(parent->RootEngine, root);
        parent->Items(1)->MarkDead();
        parent->MarkDead(); // the parent takes its queued child along
        engine.PurgeDead();
        EXPECT_EQ(log, (std::vector<int>{-1, -3, -2}));
        EXPECT_EQ(root->SpriteTotal, 1);
        EXPECT_TRUE(root->DeadList.empty());
        log.clear();
    }
    EXPECT_EQ(log, std::vector<int>{-4});
}

TEST(SpriteEngine, ImageStepClampsOrWrapsTheFrame) {
    TDXSpriteEngine engine;
    auto* s = new TImageSprite(engine.Root());
    s->FrameCount = 4;
    s->FrameSpeed = 1.5;
    s->OnStep(2);
    EXPECT_DOUBLE_EQ(s->FramePos, 3.0);
    s->OnStep(1);
    EXPECT_DOUBLE_EQ(s->FramePos, 3.0); // clamped to the last frame
    EXPECT_DOUBLE_EQ(s->FrameSpeed, 0.0);

    s->FrameLooped = true;
    s->FrameSpeed = 1.5;
    s->OnStep(2);
    EXPECT_DOUBLE_EQ(s->FramePos, 2.0); // 6 mod 4
    s->FrameCount = 0;
    s->OnStep(1);
    EXPECT_DOUBLE_EQ(s->FramePos, 0.0);

    s->FrameLooped = false;
    s->FrameCount = 4;
    s->FramePos = 1;
    s->FrameSpeed = -2;
    s->OnStep(1);
    EXPECT_DOUBLE_EQ(s->FramePos, 0.0);
    EXPECT_DOUBLE_EQ(s->FrameSpeed, 0.0);
}

TEST(SpriteEngine, BoxUsesWorldPositionAndSurfaceBindingSizesTheRoot) {
    TDXSpriteEngine engine;
    engine.SurfacesInitialized(800, 600);
    EXPECT_EQ(engine.Root()->Width, 800);
    EXPECT_EQ(engine.Root()->SurfaceBox, (TSpriteRect{0, 0, 800, 600}));
    auto* parent = new TImageSprite(engine.Root());
    parent->X = 10.7;
    parent->Y = 5;
    auto* child = new TImageSprite(parent);
    child->X = 2;
    child->Y = 3.9;
    child->Width = 50;
    child->Height = 37;
    EXPECT_EQ(child->GetBox(), (TSpriteRect{12, 8, 62, 45}));
    EXPECT_EQ(child->RootEngine, engine.Root());
    engine.SurfacesFinalized();
    EXPECT_FALSE(engine.Root()->SurfaceBound);
}

} // namespace
} // namespace pelmoravan
