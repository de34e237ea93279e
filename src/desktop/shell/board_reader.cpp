// SPDX-License-Identifier: MIT
#include "desktop/shell/board_reader.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <algorithm>

#include "desktop/media/dxdraw.h"

namespace pelmoravan {

namespace {

const QString NoticeName = QStringLiteral("ReaderNotice");

class TBoardAccessible;

// One cell of the board: its words are the game's for that cell, asked when a reader asks.
class TCellAccessible final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    TCellAccessible(TBoardAccessible& board, int col, int row) : FBoard(board), FCol(col), FRow(row) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    // QAccessibleTableCellInterface
    int columnExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    int columnIndex() const override { return FCol; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int rowIndex() const override { return FRow; }
    bool isSelected() const override { return false; }
    QAccessibleInterface* table() const override;

private:
    TBoardAccessible& FBoard;
    int FCol;
    int FRow;
};

// The surface as a table of the game's cells. Cells are made when a reader first asks for them
// and live until the board's size changes or the surface goes.
class TBoardAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TBoardAccessible(TDXDraw* surface) : QAccessibleWidget(surface, QAccessible::Table) {}
    ~TBoardAccessible() override { DropCells(); }

    TDXDraw* Surface() const { return static_cast<TDXDraw*>(widget()); }
    const IBoardCells* Cells() const { return Surface()->BoardCells(); }
    int Columns() const { return Cells() != nullptr ? Cells()->Columns() : 0; }
    int Rows() const { return Cells() != nullptr ? Cells()->Rows() : 0; }
    bool Holds(int col, int row) const { return col >= 0 && row >= 0 && col < Columns() && row < Rows(); }
    bool Focused(int col, int row) const {
        return Surface()->hasFocus() && FFocusCol == col && FFocusRow == row && Holds(col, row);
    }

    // The cell's object, made on first use.
    QAccessibleInterface* Cell(int col, int row) const {
        if (!Holds(col, row)) {
            return nullptr;
        }
        if (FMadeColumns != Columns() || FMadeRows != Rows()) {
            DropCells();
            FMadeColumns = Columns();
            FMadeRows = Rows();
        }
        const int index = row * FMadeColumns + col;
        if (const auto found = FCellIds.constFind(index); found != FCellIds.cend()) {
            return QAccessible::accessibleInterface(*found);
        }
        auto* cell = new TCellAccessible(const_cast<TBoardAccessible&>(*this), col, row);
        FCellIds.insert(index, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }

    // Moves the reader's focus; false when the cell had it already.
    bool Focus(int col, int row) {
        if (!Holds(col, row)) {
            return false;
        }
        const bool moved = col != FFocusCol || row != FFocusRow || FMadeColumns != Columns() || FMadeRows != Rows();
        const int oldCol = FFocusCol;
        const int oldRow = FFocusRow;
        FFocusCol = col;
        FFocusRow = row;
        if (!moved && FCellFocused) {
            return false;
        }
        // The cell left goes off view and the new one comes on: a reader that keeps the states it
        // saw would otherwise read the old cell again with the new one's row.
        if (moved && Holds(oldCol, oldRow)) {
            if (QAccessibleInterface* old = Cell(oldCol, oldRow)) {
                QAccessibleEvent hide(old, QAccessible::ObjectHide);
                QAccessible::updateAccessibility(&hide);
            }
        }
        if (QAccessibleInterface* cell = Cell(col, row)) {
            QAccessibleEvent show(cell, QAccessible::ObjectShow);
            QAccessible::updateAccessibility(&show);
            QAccessibleEvent event(cell, QAccessible::Focus);
            QAccessible::updateAccessibility(&event);
        }
        FCellFocused = true;
        return true;
    }
    // The keyboard went elsewhere (the menu bar, a dialog): the next cell told takes the reader's
    // focus back, even the same cell.
    void ForgetFocus() { FCellFocused = false; }

    // QAccessibleInterface
    int childCount() const override { return Columns() * Rows(); }
    QAccessibleInterface* child(int index) const override {
        return Columns() > 0 && index >= 0 ? Cell(index % Columns(), index / Columns()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr || child->role() != QAccessible::Cell || child->parent() != this) {
            return -1;
        }
        auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        return cell != nullptr ? cell->rowIndex() * Columns() + cell->columnIndex() : -1;
    }
    QAccessibleInterface* focusChild() const override {
        return Focused(FFocusCol, FFocusRow) ? Cell(FFocusCol, FFocusRow) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int row = 0; row < Rows(); ++row) {
            for (int col = 0; col < Columns(); ++col) {
                if (QAccessibleInterface* cell = Cell(col, row); cell != nullptr && cell->rect().contains(x, y)) {
                    return cell;
                }
            }
        }
        return nullptr;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    // QAccessibleTableInterface: a board has no headers and nothing a reader selects.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override { return Cell(column, row); }
    int columnCount() const override { return Columns(); }
    int rowCount() const override { return Rows(); }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedCellCount() const override { return 0; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    void DropCells() const {
        for (const QAccessible::Id id : std::as_const(FCellIds)) {
            QAccessible::deleteAccessibleInterface(id);
        }
        FCellIds.clear();
    }

    mutable QHash<int, QAccessible::Id> FCellIds;
    mutable int FMadeColumns = 0;
    mutable int FMadeRows = 0;
    int FFocusCol = -1;
    int FFocusRow = -1;
    bool FCellFocused = false;
};

bool TCellAccessible::isValid() const { return FBoard.isValid() && FBoard.Holds(FCol, FRow); }
QWindow* TCellAccessible::window() const { return FBoard.window(); }
QAccessibleInterface* TCellAccessible::parent() const { return &FBoard; }
QAccessibleInterface* TCellAccessible::table() const { return &FBoard; }

QString TCellAccessible::text(QAccessible::Text t) const {
    return t == QAccessible::Name && isValid() ? FBoard.Cells()->CellName(FCol, FRow) : QString();
}

QRect TCellAccessible::rect() const {
    if (!isValid()) {
        return {};
    }
    const QRect cell = FBoard.Surface()->SurfaceToWidget(FBoard.Cells()->CellRect(FCol, FRow));
    return QRect(FBoard.Surface()->mapToGlobal(cell.topLeft()), cell.size());
}

QAccessible::State TCellAccessible::state() const {
    QAccessible::State state;
    state.focusable = true;
    state.focused = FBoard.Focused(FCol, FRow);
    state.invisible = !FBoard.Surface()->isVisible();
    // Only the cursor's cell counts as on view: a reader that reads a table's whole row when
    // the row changes (Orca's default) then reads that cell alone, not sixteen before it.
    state.offscreen = !state.focused;
    return state;
}

QAccessibleInterface* ReaderFactory(const QString& className, QObject* object) {
    auto* surface = qobject_cast<TDXDraw*>(object);
    if (surface != nullptr && className == QLatin1String(TDXDraw::staticMetaObject.className())) {
        return new TBoardAccessible(surface);
    }
    if (object != nullptr && object->isWidgetType() && object->objectName() == NoticeName &&
        className == QLatin1String("QWidget")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    return nullptr;
}

TBoardAccessible* BoardOf(QWidget& surface) {
    return dynamic_cast<TBoardAccessible*>(QAccessible::queryAccessibleInterface(&surface));
}

} // namespace

void InstallBoardReaderFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(ReaderFactory);
        return true;
    }();
    static_cast<void>(installed);
}

TBoardReader::TBoardReader(QWidget& surface, IBoardCells& cells) : FSurface(surface) {
    InstallBoardReaderFactory();
    if (auto* draw = qobject_cast<TDXDraw*>(&surface)) {
        draw->SetBoardCells(&cells);
    }
    FFocusWatch = QObject::connect(qApp, &QApplication::focusChanged, &surface, [this](QWidget*, QWidget* now) {
        if (now != &FSurface) {
            if (TBoardAccessible* board = BoardOf(FSurface)) {
                board->ForgetFocus();
            }
        }
    });
    for (QWidget*& notice : FNotices) {
        // Nothing to see or click: a notice is only words, at no size on the window.
        notice = new QWidget(surface.window());
        notice->setObjectName(NoticeName);
        notice->setAttribute(Qt::WA_TransparentForMouseEvents);
        notice->setFocusPolicy(Qt::NoFocus);
        notice->setGeometry(0, 0, 0, 0);
        notice->hide();
    }
}

TBoardReader::~TBoardReader() {
    QObject::disconnect(FFocusWatch);
    if (auto* draw = qobject_cast<TDXDraw*>(&FSurface)) {
        draw->SetBoardCells(nullptr);
    }
}

void TBoardReader::Tell(const std::string& text, std::optional<std::pair<int, int>> cell,
                        const std::string& separator) {
    if (FPending.empty()) {
        QTimer::singleShot(0, FTurns.get(), [this] { Flush(); });
    }
    FPending.push_back({text, cell});
    FSeparator = separator;
}

void TBoardReader::Quiet() {
    for (QWidget* notice : FNotices) {
        notice->hide();
    }
}

void TBoardReader::Flush() {
    const std::vector<TTold> told = std::move(FPending);
    FPending.clear();
    if (told.empty()) {
        return;
    }
    const bool cellsOnly =
        std::all_of(told.begin(), told.end(), [](const TTold& t) { return t.Cell.has_value(); });
    if (cellsOnly) {
        // Keys pressed faster than the turns: the last cell is where the cursor is.
        const auto [col, row] = *told.back().Cell;
        if (!FocusCell(col, row)) {
            Notify(told.back().Text);
        }
        return;
    }
    std::string words;
    for (const TTold& t : told) {
        words += (words.empty() ? "" : FSeparator) + t.Text;
    }
    Notify(words);
}

bool TBoardReader::FocusCell(int col, int row) {
    TBoardAccessible* board = BoardOf(FSurface);
    return board != nullptr && board->Focus(col, row);
}

void TBoardReader::Notify(const std::string& text) {
    QWidget* notice = FNotices[FNext];
    FNext = (FNext + 1) % FNotices.size();
    // Hidden first, so that showing it again is news to a reader.
    notice->hide();
    notice->setAccessibleName(QString::fromStdString(text));
    notice->show();
}

} // namespace pelmoravan
