// SPDX-License-Identifier: MIT
#include "screen/board_words.h"

#include <initializer_list>

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

} // namespace

std::string PictureWord(const TGame& game, std::int32_t picture) {
    const TPictureName* name = NameOf(picture);
    if (name == nullptr) {
        return std::string(Texts(game).Empty);
    }
    return std::string(game.Language == 1 ? name->English : name->Chinese);
}

std::string CellWords(const TGame& game, std::int32_t picture, std::int32_t col, std::int32_t row) {
    return Fill(Texts(game).Cell, {PictureWord(game, picture), N(col + 1), N(row + 1)});
}

std::string SelectionWords(const TGame& game, std::int32_t picture, bool selected) {
    const TBoardWordTexts& t = Texts(game);
    return Fill(selected ? t.Selected : t.Deselected, {PictureWord(game, picture)});
}

std::string RemovedWords(const TGame& game, std::int32_t picture, std::int32_t tilesLeft) {
    return Fill(Texts(game).Removed, {TwoOf(game, picture), N(tilesLeft)});
}

std::string NotLinkedWords(const TGame& game) { return std::string(Texts(game).NotLinked); }

std::string HintWords(const TGame& game, std::int32_t picture, std::int32_t col1, std::int32_t row1,
                      std::int32_t col2, std::int32_t row2) {
    return Fill(Texts(game).Hint,
                {PictureWord(game, picture), N(col1 + 1), N(row1 + 1), N(col2 + 1), N(row2 + 1)});
}

std::string ShuffleWords(const TGame& game) { return std::string(Texts(game).Shuffled); }

std::string NewLevelWords(const TGame& game, std::int32_t tiles) {
    return Fill(Texts(game).NewLevel, {LevelName(game, game.Level), RuleLine(game), N(tiles)});
}

std::string TimeLowWords(const TGame& game, std::int32_t secondsLeft) {
    return Fill(Texts(game).TimeLow, {N(secondsLeft)});
}

std::string GameOverWords(const TGame& game, std::int32_t score) { return Fill(Texts(game).GameOver, {N(score)}); }

TSpokenWords NewsWords(const TGame& game, const TNews& news) {
    switch (news.Kind) {
    case TNewsKind::Cell:
        return {CellWords(game, news.Picture, news.Col, news.Row), false};
    case TNewsKind::Selected:
        return {SelectionWords(game, news.Picture, true), false};
    case TNewsKind::Deselected:
        return {SelectionWords(game, news.Picture, false), false};
    case TNewsKind::Removed:
        return {RemovedWords(game, news.Picture, news.Number), true};
    case TNewsKind::NotLinked:
        return {NotLinkedWords(game), true};
    case TNewsKind::Hint:
        return {HintWords(game, news.Picture, news.Col, news.Row, news.Col2, news.Row2), true};
    case TNewsKind::Shuffled:
        return {ShuffleWords(game), false};
    case TNewsKind::NewLevel:
        return {NewLevelWords(game, news.Number), false};
    case TNewsKind::TimeLow:
        return {TimeLowWords(game, news.Number), false};
    case TNewsKind::GameOver:
        return {GameOverWords(game, news.Number), false};
    }
    return {};
}

} // namespace pelmoravan
