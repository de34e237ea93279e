// SPDX-License-Identifier: MIT
#include "game/game.h"
#include "game/tile_sprite.h"

namespace pelmoravan {

void TGame::TryRemovePair() {
    if (Selected[0].Index == -1 || Selected[1].Index == -1) {
        return;
    }
    if (Selected[0].Col == Selected[1].Col && Selected[0].Row == Selected[1].Row) {
        return;
    }
    CopyCell(Selected[0], RemovedPair[0]);
    CopyCell(Selected[1], RemovedPair[1]);
    if (AutoPlay) {
        // The pair search has put its pair and that pair's corners in place already.
        RemovePair();
        return;
    }
    if (Selected[0].Picture == Selected[1].Picture) {
        LinkTest(Selected[0], Selected[1], LinkCorner[0], LinkCorner[1]);
        if (!LinkCorner[0].Linked || !LinkCorner[1].Linked) {
            TNews news;
            news.Kind = TNewsKind::NotLinked;
            Host.Tell(news);
        }
        RemovePair();
    }
}

void TGame::RemovePair() {
    if (!LinkCorner[0].Linked || !LinkCorner[1].Linked) {
        return;
    }
    auto onBoard = [this](const TCell& c) {
        return c.Col >= 0 && c.Col < BoardColumns && c.Row >= 0 && c.Row < BoardRows;
    };
    if (!onBoard(RemovedPair[0]) || !onBoard(RemovedPair[1])) {
        return;
    }
    TCell& first = CellAt(RemovedPair[0].Col, RemovedPair[0].Row);
    TCell& second = CellAt(RemovedPair[1].Col, RemovedPair[1].Row);
    if (first.Removed) {
        return;
    }
    // The slots remember the pictures seen at selection; what counts is what stands on the board
    // now. Taking two different pictures would leave one of each with no partner.
    if (second.Removed || &first == &second || first.Picture != second.Picture) {
        return;
    }

    first.Removed = true;
    second.Removed = true;
    for (TCell* cell : {&first, &second}) {
        if (cell->Sprite != nullptr) {
            cell->Sprite->MarkDead();
            cell->Sprite = nullptr; // the purge frees it; the empty cell must not point at it
        }
    }
    for (TCell& slot : Selected) {
        slot.Index = -1;
        slot.Picture = -1;
    }
    for (TCell& corner : LinkCorner) {
        corner.Linked = false;
        corner.Index = -1;
    }
    PairsRemoved += 1;
    TNews removed;
    removed.Kind = TNewsKind::Removed;
    // Taken before the tiles move: the movement refills these cells.
    removed.Picture = first.Picture;
    // Dead sprites count until the purge: more than the two just marked means tiles are left.
    if (DXSpriteEngine.Root()->Count() > 2) {
        ApplyMovementRule(Level);
        if (Level >= 2 && Level <= 10) {
            removed.Rule = Level;
            if (Level == 10) {
                // Two tiles jumped into the pair's cells.
                removed.Col = RemovedPair[0].Col;
                removed.Row = RemovedPair[0].Row;
                removed.Col2 = RemovedPair[1].Col;
                removed.Row2 = RemovedPair[1].Row;
                removed.Picture2 = first.Removed ? -1 : first.Picture;
                removed.Picture3 = second.Removed ? -1 : second.Picture;
            }
            AddCursorCell(removed);
        }
    }
    ScorePair();
    if (SoundOn) {
        Host.PlaySound("recycle");
    }
    removed.Number = TilesLeft();
    Host.Tell(removed); // before the search below, which may shuffle and tell of that
    DrawBonus();
    FindPair(HintPair[0], HintPair[1], false);
    DrawLinkLine(0x8000);
}

} // namespace pelmoravan
