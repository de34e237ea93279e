#include "game/game.h"

namespace pelmoravan {

namespace {

// One link test between the upper tile U and the lower tile L. The order in which columns and
// rows are tried decides which path is found (and drawn), so the runs follow a fixed order.
class TLinkSearch {
public:
    TLinkSearch(const TGame& game, const TCell& upper, const TCell& lower, TCell& corner1,
                TCell& corner2)
        : G(game), U(upper), L(lower), C1(corner1), C2(corner2),
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
    // The ring around the board is always empty.
    bool Occupied(std::int32_t c, std::int32_t r) const {
        if (c < 0 || c >= G.BoardColumns || r < 0 || r >= G.BoardRows) {
            return false;
        }
        return !Cell(c, r).Removed;
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

    bool TryColumn(std::int32_t c) {
        const std::int32_t s = MinRow + (c == U.Col ? 1 : 0);
        const std::int32_t e = MaxRow - (c == L.Col ? 1 : 0);
        if (e < s) {
            return false;
        }
        TGame::ResetCorners(C1, C2);
        if (c >= 0 && c < G.BoardColumns) {
            // The corners are taken only once the whole leg is known to be empty.
            for (std::int32_t r = s; r <= e; ++r) {
                if (Occupied(c, r)) {
                    C1.Linked = false;
                    C2.Linked = false;
                    return false;
                }
            }
            TGame::CopyCell(Cell(c, U.Row), C1);
            TGame::CopyCell(Cell(c, L.Row), C2);
        } else {
            // A ring column: its leg needs no test, every repetition ends alike.
            const bool left = c < 0;
            const std::int32_t edge = left ? 0 : G.BoardColumns - 1;
            const std::int32_t shift = left ? -G.CellWidth : G.CellWidth;
            TGame::CopyCell(Cell(edge, U.Row), C1);
            TGame::CopyCell(Cell(edge, L.Row), C2);
            C1.Col = c;
            C2.Col = c;
            C1.X += shift;
            C2.X += shift;
        }
        C1.Linked = RowClear(U.Row, U.Col, c);
        C2.Linked = RowClear(L.Row, L.Col, c);
        return C1.Linked && C2.Linked;
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
        TGame::ResetCorners(C1, C2);
        if (r >= 0 && r < G.BoardRows) {
            for (std::int32_t c = s; c <= e; ++c) {
                if (Occupied(c, r)) {
                    C1.Linked = false;
                    C2.Linked = false;
                    return false;
                }
            }
            TGame::CopyCell(Cell(U.Col, r), C1);
            TGame::CopyCell(Cell(L.Col, r), C2);
        } else {
            const bool top = r < 0;
            const std::int32_t edge = top ? 0 : G.BoardRows - 1;
            const std::int32_t shift = top ? -G.CellHeight : G.CellHeight;
            TGame::CopyCell(Cell(U.Col, edge), C1);
            TGame::CopyCell(Cell(L.Col, edge), C2);
            C1.Row = r;
            C2.Row = r;
            C1.Y += shift;
            C2.Y += shift;
        }
        C1.Linked = ColumnClear(U.Col, U.Row, r);
        C2.Linked = ColumnClear(L.Col, L.Row, r);
        return C1.Linked && C2.Linked;
    }

    const TGame& G;
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
    FindLink(first, second, corner1, corner2);
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
    TLinkSearch search(*this, upper, lower, corner1, corner2);
    ResetCorners(corner1, corner2);

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

    ResetCorners(corner1, corner2);
    corner1.Linked = false;
    corner2.Linked = false;
    if (search.ScanRows(-1, upper.Row, true) || search.ScanRows(upper.Row, lower.Row, false) ||
        search.ScanRows(lower.Row, BoardRows, false)) {
        return;
    }
}

} // namespace pelmoravan
