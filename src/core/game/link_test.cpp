// SPDX-License-Identifier: MIT
#include "game/game.h"

namespace pelmoravan {

namespace {

// One link test between the upper tile U and the lower tile L. The order in which columns and
// rows are tried decides which path is found (and drawn), so the runs follow a fixed order.
class TLinkSearch {
public:
    TLinkSearch(const TGame& game, const std::uint8_t* grid, const TCell& upper, const TCell& lower,
                TCell& corner1, TCell& corner2)
        : G(game), Grid(grid), Stride(game.BoardColumns + 2), U(upper), L(lower),
          C1(corner1), C2(corner2),
          MinRow(upper.Row), MaxRow(lower.Row),
          MinCol(upper.Col < lower.Col ? upper.Col : lower.Col),
          MaxCol(upper.Col < lower.Col ? lower.Col : upper.Col) {}

    // The middle leg is vertical, in column c.
    bool ScanColumns(std::int32_t from, std::int32_t to, bool downward) {
        if (downward) {
            for (std::int32_t c = to; c >= from; --c) {
                if (TryColumn(c)) {
                    return true;
                }
            }
        } else {
            for (std::int32_t c = from; c <= to; ++c) {
                if (TryColumn(c)) {
                    return true;
                }
            }
        }
        return false;
    }

    // The middle leg is horizontal, in row r.
    bool ScanRows(std::int32_t from, std::int32_t to, bool downward) {
        if (downward) {
            for (std::int32_t r = to; r >= from; --r) {
                if (TryRow(r)) {
                    return true;
                }
            }
        } else {
            for (std::int32_t r = from; r <= to; ++r) {
                if (TryRow(r)) {
                    return true;
                }
            }
        }
        return false;
    }

private:
    // Columns -1..BoardColumns and rows -1..BoardRows: the ring is always empty.
    bool Occupied(std::int32_t c, std::int32_t r) const {
        return Grid[static_cast<std::size_t>((r + 1) * Stride + c + 1)] != 0;
    }

    const TCell& Cell(std::int32_t c, std::int32_t r) const {
        return G.Board[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
    }

    // No tile in row r strictly between columns a and b.
    bool RowClear(std::int32_t r, std::int32_t a, std::int32_t b) const {
        const std::int32_t lo = a < b ? a : b;
        const std::int32_t hi = a < b ? b : a;
        for (std::int32_t c = lo + 1; c < hi; ++c) {
            if (Occupied(c, r)) {
                return false;
            }
        }
        return true;
    }

    // No tile in column c strictly between rows a and b.
    bool ColumnClear(std::int32_t c, std::int32_t a, std::int32_t b) const {
        const std::int32_t lo = a < b ? a : b;
        const std::int32_t hi = a < b ? b : a;
        for (std::int32_t r = lo + 1; r < hi; ++r) {
            if (Occupied(c, r)) {
                return false;
            }
        }
        return true;
    }

public:
    // Every test that fails ends on the ring row below the board, the last row the scan visits;
    // the corners are left as that visit leaves them.
    void Fail() {
        Corners(Cell(U.Col, G.BoardRows - 1), Cell(L.Col, G.BoardRows - 1));
        C1.Row = G.BoardRows;
        C2.Row = G.BoardRows;
        C1.Y += G.CellHeight;
        C2.Y += G.CellHeight;
        C1.Linked = ColumnClear(U.Col, U.Row, G.BoardRows);
        C2.Linked = ColumnClear(L.Col, L.Row, G.BoardRows);
    }

    // A tile with all four neighbours taken can only reach a neighbour.
    bool Enclosed(const TCell& t) const {
        return Occupied(t.Col - 1, t.Row) && Occupied(t.Col + 1, t.Row) &&
               Occupied(t.Col, t.Row - 1) && Occupied(t.Col, t.Row + 1);
    }

private:
    void Corners(const TCell& first, const TCell& second) {
        TGame::CopyCell(first, C1);
        TGame::CopyCell(second, C2);
    }

    // The corners are written only on success: what a failed visit leaves is overwritten by the
    // later visits anyway, the last of them by Fail().
    bool TryColumn(std::int32_t c) {
        const std::int32_t s = MinRow + (c == U.Col ? 1 : 0);
        const std::int32_t e = MaxRow - (c == L.Col ? 1 : 0);
        if (e < s) {
            return false;
        }
        const bool board = c >= 0 && c < G.BoardColumns;
        if (board) {
            for (std::int32_t r = s; r <= e; ++r) {
                if (Occupied(c, r)) {
                    return false;
                }
            }
        }
        // A ring column's leg needs no test.
        if (!RowClear(U.Row, U.Col, c) || !RowClear(L.Row, L.Col, c)) {
            return false;
        }
        if (board) {
            Corners(Cell(c, U.Row), Cell(c, L.Row));
        } else {
            const std::int32_t edge = c < 0 ? 0 : G.BoardColumns - 1;
            const std::int32_t shift = c < 0 ? -G.CellWidth : G.CellWidth;
            Corners(Cell(edge, U.Row), Cell(edge, L.Row));
            C1.Col = c;
            C2.Col = c;
            C1.X += shift;
            C2.X += shift;
        }
        C1.Linked = true;
        C2.Linked = true;
        return true;
    }

    bool TryRow(std::int32_t r) {
        std::int32_t s = MinCol;
        std::int32_t e = MaxCol;
        const bool upperRight = U.Col > L.Col;
        if (r == U.Row) {
            if (upperRight) {
                e -= 1;
            } else {
                s += 1;
            }
        }
        if (r == L.Row) {
            if (upperRight) {
                s += 1;
            } else {
                e -= 1;
            }
        }
        if (e < s) {
            return false;
        }
        const bool board = r >= 0 && r < G.BoardRows;
        if (board) {
            for (std::int32_t c = s; c <= e; ++c) {
                if (Occupied(c, r)) {
                    return false;
                }
            }
        }
        if (!ColumnClear(U.Col, U.Row, r) || !ColumnClear(L.Col, L.Row, r)) {
            return false;
        }
        if (board) {
            Corners(Cell(U.Col, r), Cell(L.Col, r));
        } else {
            const std::int32_t edge = r < 0 ? 0 : G.BoardRows - 1;
            const std::int32_t shift = r < 0 ? -G.CellHeight : G.CellHeight;
            Corners(Cell(U.Col, edge), Cell(L.Col, edge));
            C1.Row = r;
            C2.Row = r;
            C1.Y += shift;
            C2.Y += shift;
        }
        C1.Linked = true;
        C2.Linked = true;
        return true;
    }

    const TGame& G;
    const std::uint8_t* const Grid;
    const std::int32_t Stride;
    const TCell& U;
    const TCell& L;
    TCell& C1;
    TCell& C2;
    const std::int32_t MinRow;
    const std::int32_t MaxRow;
    const std::int32_t MinCol;
    const std::int32_t MaxCol;
};

} // namespace

void TGame::CopyCell(const TCell& source, TCell& destination) {
    TMonoSprite* const keep = destination.Sprite;
    destination = source;
    destination.Sprite = keep;
}

void TGame::ResetCorners(TCell& corner1, TCell& corner2) {
    corner1.Index = -1;
    corner2.Index = -1;
}

void TGame::LinkTest(TCell first, TCell second, TCell& corner1, TCell& corner2) {
    RefreshTileSprites();
    FillLinkGrid();
    FindLink(first, second, corner1, corner2);
}

void TGame::FillLinkGrid() {
    const std::int32_t stride = BoardColumns + 2;
    LinkGrid.assign(static_cast<std::size_t>(stride * (BoardRows + 2)), 0);
    for (std::int32_t col = 0; col < BoardColumns; ++col) {
        const auto& column = Board[static_cast<std::size_t>(col)];
        for (std::int32_t row = 0; row < BoardRows; ++row) {
            LinkGrid[static_cast<std::size_t>((row + 1) * stride + col + 1)] =
                column[static_cast<std::size_t>(row)].Removed ? 0 : 1;
        }
    }
}

void TGame::FindLink(TCell first, TCell second, TCell& corner1, TCell& corner2) const {
    const std::int32_t dc = first.Col > second.Col ? first.Col - second.Col : second.Col - first.Col;
    const std::int32_t dr = first.Row > second.Row ? first.Row - second.Row : second.Row - first.Row;
    if ((dc == 1 && dr == 0) || (dr == 1 && dc == 0)) {
        CopyCell(first, corner1);
        CopyCell(second, corner2);
        corner1.Linked = true;
        corner2.Linked = true;
        return;
    }

    const bool exchanged = second.Row < first.Row;
    const TCell& upper = exchanged ? second : first;
    const TCell& lower = exchanged ? first : second;
    TLinkSearch search(*this, LinkGrid.data(), upper, lower, corner1, corner2);
    if (search.Enclosed(upper) || search.Enclosed(lower)) {
        search.Fail(); // no way out of a walled-in tile: skip the scan, end as it would
        return;
    }

    // Without the exchange: outward left from the left tile, across, outward right. With it: from
    // the right tile's column all the way left, then from the left tile's column all the way right.
    const std::int32_t minCol = first.Col < second.Col ? first.Col : second.Col;
    const std::int32_t maxCol = first.Col < second.Col ? second.Col : first.Col;
    const std::int32_t p = exchanged ? maxCol : minCol;
    const std::int32_t q = exchanged ? minCol : maxCol;
    if (search.ScanColumns(-1, p, true) || search.ScanColumns(p, q, false) ||
        search.ScanColumns(q, BoardColumns, false)) {
        return;
    }
    if (search.ScanRows(-1, upper.Row, true) || search.ScanRows(upper.Row, lower.Row, false) ||
        search.ScanRows(lower.Row, BoardRows, false)) {
        return;
    }
    search.Fail();
}

} // namespace pelmoravan
