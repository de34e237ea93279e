#include <vector>

#include "game/game.h"
#include "screen/tile_sprite.h"

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

    // Pictures in the order of their lowest-Index tile, each with its tiles in Index order: the
    // sprite list is in deal order, and that order decides which pair is found.
    std::vector<std::int32_t> kinds;
    std::vector<std::vector<TCell>> candidates;
    TSpriteEngine* root = DXSpriteEngine.Root();
    const std::int32_t spriteCount = root->Count();
    for (std::int32_t i = 0; i < spriteCount; ++i) {
        const auto* sprite = dynamic_cast<const TMonoSprite*>(root->Items(i));
        if (sprite == nullptr || sprite->Col < 0 || sprite->Col >= BoardColumns ||
            sprite->Row < 0 || sprite->Row >= BoardRows) {
            continue;
        }
        std::size_t kind = 0;
        while (kind < kinds.size() && kinds[kind] != sprite->Picture) {
            ++kind;
        }
        if (kind == kinds.size()) {
            kinds.push_back(sprite->Picture);
            candidates.emplace_back();
        }
        TCell copy;
        CopyCell(CellAt(sprite->Col, sprite->Row), copy);
        candidates[kind].push_back(copy);
    }

    for (std::vector<TCell>& tiles : candidates) {
        for (std::size_t i = 0; i + 1 < tiles.size(); ++i) {
            if (tiles[i].Removed) {
                continue;
            }
            for (std::size_t j = i + 1; j < tiles.size(); ++j) {
                if (tiles[j].Removed) {
                    continue;
                }
                first.Linked = false;
                second.Linked = false;
                // The board has not changed since the refresh above: no need for another.
                FindLink(tiles[i], tiles[j], first, second);
                if (!first.Linked || !second.Linked) {
                    continue;
                }
                if (show) {
                    tiles[i].Hinted = true;
                    tiles[j].Hinted = true;
                }
                if (AutoPlay) {
                    CopyCell(tiles[i], Selected[0]);
                    CopyCell(tiles[j], Selected[1]);
                    CopyCell(first, LinkCorner[0]);
                    CopyCell(second, LinkCorner[1]);
                }
                CopyCell(tiles[i], first);
                CopyCell(tiles[j], second);
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
    if (GameState != 1 || HintsLeft <= 0) {
        return;
    }
    FindPair(HintPair[0], HintPair[1], true);
    if (HintPair[0].Hinted) {
        if (SoundOn) {
            Host.PlaySound("notify");
        }
        HintsLeft -= 1;
    }
}

void TGame::Auto1Click() {
    if (GameState != 1) {
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
