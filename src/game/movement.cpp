#include "game/game.h"
#include "screen/tile_sprite.h"

namespace pelmoravan {

void TGame::PlaceTileSprites() {
    for (std::int32_t col = 0; col < BoardColumns; ++col) {
        for (std::int32_t row = 0; row < BoardRows; ++row) {
            TCell& cell = Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
            if (cell.Removed || cell.Sprite == nullptr) {
                continue;
            }
            cell.Sprite->X = cell.X;
            cell.Sprite->Y = cell.Y;
            cell.Sprite->Col = col;
            cell.Sprite->Row = row;
            cell.Index = cell.Sprite->Index;
        }
    }
}

void TGame::RefreshTileSprites() {
    for (std::int32_t col = 0; col < BoardColumns; ++col) {
        for (std::int32_t row = 0; row < BoardRows; ++row) {
            const TCell& cell = CellAt(col, row);
            if (cell.Removed || cell.Sprite == nullptr) {
                continue;
            }
            cell.Sprite->Col = col;
            cell.Sprite->Row = row;
            cell.Sprite->Picture = cell.Picture;
        }
    }
}

TCell& TGame::CellAt(std::int32_t col, std::int32_t row) {
    return Board[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

} // namespace pelmoravan
