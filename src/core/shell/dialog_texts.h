// SPDX-License-Identifier: MIT
#pragma once
#include "shell/version.h"

namespace pelmoravan {

// The texts of the score list and of the About box as the player sees them, whatever the
// interface language: every platform's dialogs show these.
inline constexpr const char* ScoreListCaption = "排名";
inline constexpr const char* ScoreListRankHeader = "名次";
inline constexpr const char* ScoreListNameHeader = "姓名";
inline constexpr const char* ScoreListScoreHeader = "分数";
inline constexpr const char* ScoreListOk = "确定";

inline constexpr const char* AboutCaption = "关于";
inline constexpr const char* AboutTitle = "Pelmoravan";
inline constexpr const char* AboutHomePageLabel = "主页:";
inline constexpr const char* AboutHomePage = "http://pelmoravan.example/cn";
inline constexpr const char* AboutMailLabel = "邮箱:";
inline constexpr const char* AboutMailAddress = "pelmoravan@example.org";
inline constexpr const char* AboutHowToPlay = "玩法:\n"
                                              "    将2个相同图片连接，连接线不超过3根\n"
                                              "    直线，就可以成功消除这2个图片，全\n"
                                              "    部图片消除后，完成。";
inline constexpr const char* AboutClose = "关闭";

} // namespace pelmoravan
