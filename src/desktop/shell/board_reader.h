// SPDX-License-Identifier: MIT
#pragma once
#include <QMetaObject>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAccessibleInterface;

namespace pelmoravan {

// What the board shows a screen reader: its size and each cell's words and place, in surface
// pixels. The window answers from the game; the reader's objects only ask.
class IBoardCells {
public:
    virtual ~IBoardCells() = default;
    virtual int Columns() const = 0;
    virtual int Rows() const = 0;
    virtual QString CellName(int col, int row) const = 0;
    virtual QRect CellRect(int col, int row) const = 0;
};

// The play surface as a screen reader sees it: a table of the board's cells, one of which has
// the reader's focus (the board cursor's), and a few notices, each shown with the words of one
// turn of the event loop. Orca 43 speaks a focused cell and a notice as it shows; it drops
// changes of a name or a description, so the words never travel that way.
class TBoardReader {
public:
    // The surface is the table; its window holds the notices. Both outlive the reader.
    TBoardReader(QWidget& surface, IBoardCells& cells);
    ~TBoardReader();
    TBoardReader(const TBoardReader&) = delete;
    TBoardReader& operator=(const TBoardReader&) = delete;

    // Words told, heard on the next turn of the event loop with the others of their turn: the
    // cursor's cell (cell given) takes the reader's focus; anything else is one notice for the
    // turn, its words joined by the separator. Orca cuts what it is saying for each focus and
    // each notice, so a turn's words must reach it as one.
    void Tell(const std::string& text, std::optional<std::pair<int, int>> cell, const std::string& separator);
    // Takes down the notices shown: words told before a pause are not to be read while the
    // board is covered.
    void Quiet();

private:
    struct TTold {
        std::string Text;
        std::optional<std::pair<int, int>> Cell;
    };
    void Flush();
    // The cursor's cell takes the reader's focus; false when it already had it, which a reader
    // would not tell again.
    bool FocusCell(int col, int row);
    // Shows words as a notice of their own.
    void Notify(const std::string& text);

    QWidget& FSurface;
    // Shown in turn: a reader asks a notice for its words after it showed, so the notices of
    // turns close together must not be one object renamed.
    std::array<QWidget*, 8> FNotices{};
    std::size_t FNext = 0;
    QMetaObject::Connection FFocusWatch;
    std::vector<TTold> FPending;
    std::string FSeparator;
    std::unique_ptr<QObject> FTurns = std::make_unique<QObject>(); // ends the flushes with the reader
};

// The toolkit's accessible objects for the surface and the notices; installed once, before the
// first surface is made.
void InstallBoardReaderFactory();

} // namespace pelmoravan
