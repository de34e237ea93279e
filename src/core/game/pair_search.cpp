// SPDX-License-Identifier: MIT
#include <algorithm>
#include <array>
#include <vector>

#include "game/game.h"
#include "game/tile_sprite.h"

namespace pelmoravan {

void TGame::FindPair(TCell& first, TCell& second, bool show) {
    if (Shuffling || Searching) {
        return;
    }
    Searching = true;
    struct TSearchDone {
        bool& Flag;
        ~TSearchDone() { Flag = false; }
    } searchDone{Searching};

    RefreshTileSprites();
    DXSpriteEngine.PurgeDead(); // tiles removed just before must not be found again
    FillLinkGrid();

    // Pictures in the order of their lowest-Index tile, each with its tiles in Index order: the
    // sprite list is in deal order, and that order decides which pair is found.
    TSpriteEngine* root = DXSpriteEngine.Root();
    const std::int32_t spriteCount = root->Count();
    std::vector<std::int32_t> kinds;
    std::vector<std::int32_t> kindOf;  // per tile below, its place in kinds
    std::vector<TCell> tiles;          // the tiles in sprite order
    tiles.reserve(static_cast<std::size_t>(spriteCount));
    kindOf.reserve(static_cast<std::size_t>(spriteCount));
    std::array<std::int32_t, 256> slotOf;  // picture -> place in kinds, for the usual numbers
    slotOf.fill(-1);
    for (std::int32_t i = 0; i < spriteCount; ++i) {
        const auto* sprite = dynamic_cast<const TMonoSprite*>(root->Items(i));
        if (sprite == nullptr || sprite->Col < 0 || sprite->Col >= BoardColumns ||
            sprite->Row < 0 || sprite->Row >= BoardRows) {
            continue;
        }
        const std::int32_t picture = sprite->Picture;
        const bool small = picture >= 0 && picture < static_cast<std::int32_t>(slotOf.size());
        std::int32_t kind = small ? slotOf[static_cast<std::size_t>(picture)] : -1;
        if (kind < 0 && !small) {
            const auto it = std::find(kinds.begin(), kinds.end(), picture);
            kind = it == kinds.end() ? -1 : static_cast<std::int32_t>(it - kinds.begin());
        }
        if (kind < 0) {
            kind = static_cast<std::int32_t>(kinds.size());
            kinds.push_back(picture);
            if (small) {
                slotOf[static_cast<std::size_t>(picture)] = kind;
            }
        }
        kindOf.push_back(kind);
        tiles.emplace_back();
        CopyCell(CellAt(sprite->Col, sprite->Row), tiles.back());
    }
    // Group the tiles by kind, keeping their order within a kind.
    std::vector<std::size_t> start(kinds.size() + 1, 0);
    for (const std::int32_t kind : kindOf) {
        start[static_cast<std::size_t>(kind) + 1] += 1;
    }
    for (std::size_t k = 1; k < start.size(); ++k) {
        start[k] += start[k - 1];
    }
    std::vector<TCell> candidates(tiles.size());
    {
        std::vector<std::size_t> next(start.begin(), start.end() - 1);
        for (std::size_t t = 0; t < tiles.size(); ++t) {
            candidates[next[static_cast<std::size_t>(kindOf[t])]++] = tiles[t];
        }
    }

    for (std::size_t k = 0; k < kinds.size(); ++k) {
        const std::size_t last = start[k + 1];
        for (std::size_t i = start[k]; i + 1 < last; ++i) {
            if (candidates[i].Removed) {
                continue;
            }
            for (std::size_t j = i + 1; j < last; ++j) {
                if (candidates[j].Removed) {
                    continue;
                }
                first.Linked = false;
                second.Linked = false;
                // The board stays as it was at the refresh above until a pair is found.
                FindLink(candidates[i], candidates[j], first, second);
                if (!first.Linked || !second.Linked) {
                    continue;
                }
                if (show) {
                    candidates[i].Hinted = true;
                    candidates[j].Hinted = true;
                }
                if (AutoPlay) {
                    CopyCell(candidates[i], Selected[0]);
                    CopyCell(candidates[j], Selected[1]);
                    CopyCell(first, LinkCorner[0]);
                    CopyCell(second, LinkCorner[1]);
                }
                CopyCell(candidates[i], first);
                CopyCell(candidates[j], second);
                if (AutoPlay) {
                    TryRemovePair();
                }
                return;
            }
        }
    }

    // A dead end: mix the board once, free of charge. The next search tries again.
    if (root->Count() >= 1) {
        Shuffle();
    }
}

void TGame::hint1Click() {
    if (GameState != TGameState::Playing || HintsLeft <= 0) {
        return;
    }
    FindPair(HintPair[0], HintPair[1], true);
    if (HintPair[0].Hinted) {
        if (SoundOn) {
            Host.PlaySound("notify");
        }
        HintsLeft -= 1;
        TNews news;
        news.Kind = TNewsKind::Hint;
        news.Picture = HintPair[0].Picture;
        news.Col = HintPair[0].Col;
        news.Row = HintPair[0].Row;
        news.Col2 = HintPair[1].Col;
        news.Row2 = HintPair[1].Row;
        Host.Tell(news);
    }
}

void TGame::Auto1Click() {
    if (GameState != TGameState::Playing) {
        return;
    }
    // Switching on takes two pairs at once, switching off still takes one.
    AutoPlay = true;
    FindPair(HintPair[0], HintPair[1], true);
    Auto1Checked = !Auto1Checked;
    AutoPlay = Auto1Checked;
    if (AutoPlay) {
        FindPair(HintPair[0], HintPair[1], true);
    }
}

void TGame::AutoPlayStep() {
    FindPair(HintPair[0], HintPair[1], true);
}

} // namespace pelmoravan
