// SPDX-License-Identifier: MIT
#include "screen/board_words.h"

#include <initializer_list>
#include <tuple>
#include <utility>

#include "screen/status_lines.h"
#include "shell/language_tables.h"

namespace pelmoravan {

namespace {

const TBoardWordTexts& Texts(const TGame& game) { return BoardWordTexts(game.Language); }

// The text with {0}, {1}, ... replaced by the values in order.
std::string Fill(std::string_view text, std::initializer_list<std::string> values) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' && i + 2 < text.size() && text[i + 2] == '}' && text[i + 1] >= '0' && text[i + 1] <= '9') {
            const auto k = static_cast<std::size_t>(text[i + 1] - '0');
            if (k < values.size()) {
                out += *(values.begin() + k);
            }
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string N(std::int32_t value) { return std::to_string(value); }

const TPictureName* NameOf(std::int32_t picture) {
    return picture >= 0 && static_cast<std::size_t>(picture) < PictureNames.size()
               ? &PictureNames[static_cast<std::size_t>(picture)]
               : nullptr;
}

std::string TwoOf(const TGame& game, std::int32_t picture) {
    const TPictureName* name = NameOf(picture);
    if (name == nullptr) {
        return {};
    }
    return std::string(game.Language == 1 ? name->EnglishTwo : name->Chinese);
}

// A cell's column and row as shown, counted from 1.
std::pair<std::string, std::string> Place(const TGame& game, std::int32_t col, std::int32_t row) {
    return game.BoardUpright ? std::pair{N(row + 1), N(col + 1)} : std::pair{N(col + 1), N(row + 1)};
}

std::string Joined(const TGame& game, const std::string& first, const std::string& next) {
    return first.empty() ? next : next.empty() ? first : first + std::string(Texts(game).Then) + next;
}

std::string RemovedWords(const TGame& game, const TNews& news) {
    const TBoardWordTexts& t = Texts(game);
    std::string words = Fill(t.Removed, {TwoOf(game, news.Picture), N(news.Number)});
    if (news.Rule == 10) {
        std::string cells;
        for (const auto& [picture, col, row] : {std::tuple{news.Picture2, news.Col, news.Row},
                                                std::tuple{news.Picture3, news.Col2, news.Row2}}) {
            if (picture >= 0) {
                cells += (cells.empty() ? "" : std::string(t.And)) + CellWords(game, picture, col, row);
            }
        }
        if (!cells.empty()) {
            words = Joined(game, words, Fill(t.NewTiles, {cells}));
        }
    } else if (news.Rule >= 2) {
        words = Joined(game, words, Fill(t.Moved, {RuleLine(game)}));
    }
    if (news.CursorTold) {
        words = Joined(game, words, CellWords(game, news.CursorPicture, news.CursorCol, news.CursorRow));
    }
    return words;
}

std::string StatusWords(const TGame& game) {
    const std::int32_t left = game.TimeLimit - game.ElapsedSeconds;
    return Fill(Texts(game).Status, {LevelName(game, game.Level), RuleLine(game), N(left > 0 ? left : 0),
                                     N(game.HintsLeft), N(game.ShufflesLeft), N(game.Score)});
}

} // namespace

std::string PictureWord(const TGame& game, std::int32_t picture) {
    const TPictureName* name = NameOf(picture);
    if (name == nullptr) {
        return std::string(Texts(game).Empty);
    }
    return std::string(game.Language == 1 ? name->English : name->Chinese);
}

std::string CellWords(const TGame& game, std::int32_t picture, std::int32_t col, std::int32_t row, TCellAxis axis) {
    const TBoardWordTexts& t = Texts(game);
    switch (axis) {
    case TCellAxis::Column:
        return Fill(t.CellOne, {PictureWord(game, picture), N(col + 1)});
    case TCellAxis::Row:
        return Fill(t.CellOne, {PictureWord(game, picture), N(row + 1)});
    case TCellAxis::Both:
        break;
    }
    const auto [shownCol, shownRow] = Place(game, col, row);
    return Fill(t.Cell, {PictureWord(game, picture), shownCol, shownRow});
}

TSpokenWords NewsWords(const TGame& game, const TNews& news) {
    const TBoardWordTexts& t = Texts(game);
    TSpokenWords words;
    words.Kind = TWordsKind::Outcome;
    switch (news.Kind) {
    case TNewsKind::Cell:
        words = {CellWords(game, news.Picture, news.Col, news.Row, news.Axis), TWordsKind::Cell, false, news.Col,
                 news.Row};
        break;
    case TNewsKind::Selected:
    case TNewsKind::Deselected: {
        const bool selected = news.Kind == TNewsKind::Selected;
        words = {news.Picture < 0 && !selected
                     ? std::string(t.NothingSelected)
                     : Fill(selected ? t.Selected : t.Deselected, {PictureWord(game, news.Picture)}),
                 TWordsKind::Selection, false, news.Col, news.Row};
        break;
    }
    case TNewsKind::Removed:
        words.Text = RemovedWords(game, news);
        words.Urgent = true;
        break;
    case TNewsKind::NotLinked:
        words.Text = std::string(t.NotLinked);
        words.Urgent = true;
        break;
    case TNewsKind::Hint: {
        const auto [col1, row1] = Place(game, news.Col, news.Row);
        const auto [col2, row2] = Place(game, news.Col2, news.Row2);
        words.Text = Fill(t.Hint, {PictureWord(game, news.Picture), col1, row1, col2, row2});
        words.Urgent = true;
        break;
    }
    case TNewsKind::Shuffled:
        words.Text = std::string(t.Shuffled);
        break;
    case TNewsKind::NewLevel:
        words.Text = Fill(t.NewLevel, {LevelName(game, game.Level), RuleLine(game), N(news.Number)});
        // How a cell is read, once a game: the first level is where one starts.
        if (game.Level == 1) {
            words.Text = Joined(game, words.Text, std::string(t.CellOrder));
        }
        break;
    case TNewsKind::TimeLow:
        words.Text = Fill(t.TimeLow, {N(news.Number)});
        break;
    case TNewsKind::GameOver:
        words.Text = Fill(t.GameOver, {N(news.Number)});
        break;
    case TNewsKind::Paused:
        words = {std::string(t.Paused), TWordsKind::Paused, true};
        break;
    case TNewsKind::Resumed:
        words = {std::string(t.Resumed), TWordsKind::Resumed, true};
        break;
    case TNewsKind::Status:
        words = {StatusWords(game), TWordsKind::Status, true};
        break;
    }
    if (news.CursorTold) {
        words.Col = news.CursorCol;
        words.Row = news.CursorRow;
        if (news.Kind == TNewsKind::Resumed) {
            words.Text = Joined(game, words.Text, CellWords(game, news.CursorPicture, news.CursorCol, news.CursorRow));
        }
    }
    return words;
}

std::string KeysHelpWords(std::uint8_t language) { return std::string(BoardWordTexts(language).KeysHelp); }

} // namespace pelmoravan
