// SPDX-License-Identifier: MIT
#pragma once
#include <QMetaObject>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <string>

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
// outcome. Orca 43 speaks a focused cell and a notice as it shows; it drops changes of a name
// or a description, so the words never travel that way.
class TBoardReader {
public:
    // The surface is the table; its window holds the notices. Both outlive the reader.
    TBoardReader(QWidget& surface, IBoardCells& cells);
    ~TBoardReader();
    TBoardReader(const TBoardReader&) = delete;
    TBoardReader& operator=(const TBoardReader&) = delete;

    // The cursor's cell takes the reader's focus; false when it already had it, which a reader
    // would not tell again.
    bool FocusCell(int col, int row);
    // Shows words as a notice of their own: told in a burst, each is still heard.
    void Notify(const std::string& text);

private:
    QWidget& FSurface;
    // Shown in turn: a reader asks a notice for its words after it showed, so the notices of a
    // burst must not be one object renamed.
    std::array<QWidget*, 8> FNotices{};
    std::size_t FNext = 0;
    QMetaObject::Connection FFocusWatch;
};

// The toolkit's accessible objects for the surface and the notices; installed once, before the
// first surface is made.
void InstallBoardReaderFactory();

} // namespace pelmoravan
