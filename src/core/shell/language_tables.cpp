// SPDX-License-Identifier: MIT
#include "shell/language_tables.h"

#include "shell/version.h"

// Texts are UTF-8. Spaces at the ends of the texts are deliberate: the status lines are built by
// plain concatenation of a label, a number and a unit.

namespace pelmoravan {

const TLevelNameTable ChineseLevelNames = {
    "",
    "第一关", "第二关", "第三关", "第四关", "第五关",
    "第六关", "第七关", "第八关", "第九关", "第十关",
};

const TLevelNameTable EnglishLevelNames = {
    "",
    "First Step", "Second Step", "Third Step", "Fourth Step", "Fifths Step",
    "Sixth Step", "Seventh Step", "Eighth Step", "Ninth Step", "Tenth Step",
};

const TMessageTable ChineseMessages = {
    "",
    "无变化",                 // 1  movement rules 1..9
    "左移",                   // 2
    "右移",                   // 3
    "左右分离",               // 4
    "左右集中",               // 5
    "上移",                   // 6
    "下移",                   // 7
    "上下分离",               // 8
    "上下集中",               // 9
    "时间剩余 : ",            // 10 time line label
    "提示(F4)剩余 :",         // 11 hint line label (the count follows the colon directly)
    "重洗(F5)剩余 : ",        // 12 shuffle line label
    " 次",                    // 13 unit after the hint and shuffle counts
    "共 ",                    // 14
    " 种图片",                // 15
    "每种 ",                  // 16
    "剩余 ",                  // 17
    " 对",                    // 18
    "游戏",                   // 19 menu captions from here
    "新游戏",                 // 20
    "暂停",                   // 21
    "退出",                   // 22
    "设置",                   // 23
    "等级",                   // 24
    "容易",                   // 25
    "一般",                   // 26
    "困难",                   // 27
    "声音",                   // 28
    "音效",                   // 29
    "背景音乐",               // 30
    "其他",                   // 31
    "提示",                   // 32
    "重洗",                   // 33
    "语言",                   // 34
    "中文",                   // 35
    "英文",                   // 36
    "自动",                   // 37
    "帮助",                   // 38
    "关于",                   // 39
    "恭喜过关,继续下一难度",  // 40 question after level 10 of Easy or Normal
    "恭喜通关,重新开始?",     // 41 question after level 10 of Hard
    "见缝插针",               // 42 movement rule 10
    "排名",                   // 43
    GameCaption,              // 44 window caption
    "结束游戏",               // 45
    "恢复",                   // 46
    "",                       // 47
    "",                       // 48
};

const TMessageTable EnglishMessages = {
    "",
    "No Change",                                  // 1
    "Left",                                       // 2
    "Right",                                      // 3
    "Left And Right",                             // 4
    "Left and Right To Center",                   // 5
    "Up",                                         // 6
    "Down",                                       // 7
    "Up And Down",                                // 8
    "Top and  Bottom To Center",                  // 9 (two spaces)
    "Remain Time : ",                             // 10
    "Remain Hint(F4) : ",                         // 11
    "Remain Shuffle(F5) : ",                      // 12
    "",                                           // 13 no unit in English
    "",                                           // 14
    "  Type pictures",                            // 15
    "Every Type  ",                               // 16
    "Remain  ",                                   // 17
    "  Twain",                                    // 18
    "Game",                                       // 19
    "New Game",                                   // 20
    "Pause",                                      // 21
    "Exit",                                       // 22
    "Setting",                                    // 23
    "Level",                                      // 24
    "Easy",                                       // 25
    "Normal",                                     // 26
    "Hard",                                       // 27
    "Sound",                                      // 28
    "Music",                                      // 29
    "BackGround Music",                           // 30
    "Other",                                      // 31
    "Hint",                                       // 32
    "Shuffle",                                    // 33
    "Language",                                   // 34
    "Chinese",                                    // 35
    "English",                                    // 36
    "Auto",                                       // 37
    "Help",                                       // 38
    "About",                                      // 39
    "Congratulation!Next Level?",                 // 40
    "Congratulation! You Pass All Level,Again?",  // 41
    "Make use of every bit of time or space",     // 42
    "Sequence",                                   // 43
    GameCaption,                                  // 44
    "End Game",                                   // 45
    "Resume",                                     // 46
    "",                                           // 47
    "",                                           // 48
};

const TBonusNameTable ChineseBonusNames = {
    "", "提示增加", "重新洗牌增加", "分数增加", "时间增加", "",
};

const TBonusNameTable EnglishBonusNames = {
    "", "Hint Add", "Shuffle Add", "Scores Add", "Time Add", "",
};

const TControlTexts ChineseControlTexts = {
    .Yes = "是",
    .No = "否",
    .Ok = "确定",
    .Cancel = "取消",
    .Save = "保存",
    .SaveAs = "另存为",
    .FileName = "文件名:",
    .Ended = "游戏已结束。",
    .StartAgain = "重新开始",
    .TurnDevice = "横过来玩，图片更大",
    .PlayArea = "游戏画面",
    .PlayCommands = "游戏按钮",
    .Menu = "菜单",
    .ExitQuestion = "游戏还没结束，确定退出吗?",
    .ScoresNotKept = "浏览器不能保存排名：本次的成绩只保留到页面关闭或重新载入。",
    .ScoreFileBusy = "另一个正在运行的游戏正在使用排名文件，请稍候……",
    .ScoreNotRecorded = "成绩没有记录。",
};

const TControlTexts EnglishControlTexts = {
    .Yes = "Yes",
    .No = "No",
    .Ok = "OK",
    .Cancel = "Cancel",
    .Save = "Save",
    .SaveAs = "Save As",
    .FileName = "File name:",
    .Ended = "The game has ended.",
    .StartAgain = "Start again",
    .TurnDevice = "Turn the device sideways for larger tiles",
    .PlayArea = "Game board",
    .PlayCommands = "Game buttons",
    .Menu = "Menu",
    .ExitQuestion = "A game is in progress. Exit anyway?",
    .ScoresNotKept = "The browser cannot keep the score list: this visit's scores last only until the page is closed or reloaded.",
    .ScoreFileBusy = "Another copy of the game is using the score file. Waiting for it to finish…",
    .ScoreNotRecorded = "The score was not recorded.",
};

const TControlTexts& ControlTexts(std::uint8_t language) {
    return language == 1 ? EnglishControlTexts : ChineseControlTexts;
}

// By picture number: picture p is drawn from item p + 1, whose subject these name.
const std::array<TPictureName, 100> PictureNames = {{
    {"马", "horse", "horses"},  // item 1, never dealt
    {"大象", "elephant", "elephants"},
    {"长颈鹿", "giraffe", "giraffes"},
    {"骆驼", "camel", "camels"},
    {"兔子", "rabbit", "rabbits"},
    {"猫", "cat", "cats"},
    {"狗", "dog", "dogs"},
    {"猪", "pig", "pigs"},
    {"牛", "cow", "cows"},
    {"绵羊", "sheep", "sheep"},
    {"袋鼠", "kangaroo", "kangaroos"},
    {"刺猬", "hedgehog", "hedgehogs"},
    {"蝙蝠", "bat", "bats"},
    {"公鸡", "rooster", "roosters"},
    {"鸭子", "duck", "ducks"},
    {"猫头鹰", "owl", "owls"},
    {"火烈鸟", "flamingo", "flamingos"},
    {"企鹅", "penguin", "penguins"},
    {"乌龟", "turtle", "turtles"},
    {"蛇", "snake", "snakes"},
    {"鳄鱼", "crocodile", "crocodiles"},
    {"恐龙", "dinosaur", "dinosaurs"},
    {"鲸鱼", "whale", "whales"},
    {"鱼", "fish", "fish"},
    {"章鱼", "octopus", "octopuses"},
    {"螃蟹", "crab", "crabs"},
    {"蜗牛", "snail", "snails"},
    {"蝴蝶", "butterfly", "butterflies"},
    {"蜜蜂", "bee", "bees"},
    {"瓢虫", "ladybird", "ladybirds"},
    {"蝎子", "scorpion", "scorpions"},
    {"鹦鹉", "parrot", "parrots"},
    {"雪人", "snowman", "snowmen"},
    {"仙人掌", "cactus", "cacti"},
    {"棕榈树", "palm tree", "palm trees"},
    {"松树", "fir tree", "fir trees"},
    {"郁金香", "tulip", "tulips"},
    {"向日葵", "sunflower", "sunflowers"},
    {"四叶草", "four-leaf clover", "four-leaf clovers"},
    {"枫叶", "maple leaf", "maple leaves"},
    {"蘑菇", "mushroom", "mushrooms"},
    {"苹果", "apple", "apples"},
    {"香蕉", "banana", "bananas"},
    {"葡萄", "grapes", "bunches of grapes"},
    {"西瓜", "watermelon", "watermelons"},
    {"菠萝", "pineapple", "pineapples"},
    {"樱桃", "cherries", "pairs of cherries"},
    {"胡萝卜", "carrot", "carrots"},
    {"玉米", "corn cob", "corn cobs"},
    {"茄子", "aubergine", "aubergines"},
    {"羊角面包", "croissant", "croissants"},
    {"奶酪", "cheese", "cheeses"},
    {"汉堡", "hamburger", "hamburgers"},
    {"披萨", "pizza", "pizzas"},
    {"鸡腿", "drumstick", "drumsticks"},
    {"甜甜圈", "doughnut", "doughnuts"},
    {"生日蛋糕", "birthday cake", "birthday cakes"},
    {"冰淇淋", "ice cream", "ice creams"},
    {"棒棒糖", "lollipop", "lollipops"},
    {"糖果", "sweet", "sweets"},
    {"奶瓶", "baby bottle", "baby bottles"},
    {"鸡尾酒", "cocktail", "cocktails"},
    {"热饮", "hot drink", "hot drinks"},
    {"汽车", "car", "cars"},
    {"自行车", "bicycle", "bicycles"},
    {"火箭", "rocket", "rockets"},
    {"直升机", "helicopter", "helicopters"},
    {"帆船", "sailboat", "sailboats"},
    {"火车头", "locomotive", "locomotives"},
    {"拖拉机", "tractor", "tractors"},
    {"滑板车", "scooter", "scooters"},
    {"房子", "house", "houses"},
    {"帐篷", "tent", "tents"},
    {"铁塔", "tower", "towers"},
    {"气球", "balloon", "balloons"},
    {"礼物", "gift", "gifts"},
    {"吉他", "guitar", "guitars"},
    {"小号", "trumpet", "trumpets"},
    {"鼓", "drum", "drums"},
    {"铃铛", "bell", "bells"},
    {"钥匙", "key", "keys"},
    {"锁", "padlock", "padlocks"},
    {"锤子", "hammer", "hammers"},
    {"锚", "anchor", "anchors"},
    {"灯泡", "light bulb", "light bulbs"},
    {"闹钟", "alarm clock", "alarm clocks"},
    {"沙漏", "hourglass", "hourglasses"},
    {"回形针", "paperclip", "paperclips"},
    {"宝石", "gem", "gems"},
    {"皇冠", "crown", "crowns"},
    {"礼帽", "top hat", "top hats"},
    {"眼镜", "glasses", "pairs of glasses"},
    {"跑鞋", "trainer", "trainers"},
    {"T恤", "T-shirt", "T-shirts"},
    {"雨伞", "umbrella", "umbrellas"},
    {"羽毛球", "shuttlecock", "shuttlecocks"},
    {"奖杯", "trophy", "trophies"},
    {"风筝", "kite", "kites"},
    {"拼图", "puzzle piece", "puzzle pieces"},
    {"闪电", "lightning bolt", "lightning bolts"},
}};

// Short, for a listener who plays against the clock: the picture first, then the numbers.
const TBoardWordTexts ChineseBoardWords = {
    .Cell = "{0} {1} {2}",
    .CellOne = "{0} {1}",
    .Empty = "空",
    .Selected = "选中{0}",
    .Deselected = "取消选中{0}",
    .NothingSelected = "没有选中的牌",
    .Removed = "消除一对{0}，还剩{1}张牌",
    .Moved = "{0}",
    .NewTiles = "补入{0}",
    .And = "和",
    .Then = "，",
    .NotLinked = "不能相连",
    .Hint = "提示：{0} {1} {2} 和 {3} {4}",
    .Shuffled = "已重新洗牌",
    .NewLevel = "{0}：{1}，{2}张牌",
    .CellOrder = "格子读作图片、列、行；左右移动只读列，上下移动只读行",
    .TimeLow = "还剩{0}秒",
    .GameOver = "游戏结束，得分{0}",
    .Paused = "已暂停",
    .Resumed = "继续游戏",
    .Status = "{0}，{1}；还剩{2}秒，提示{3}次，重洗{4}次，{5}分",
    .KeysHelp = "方向键移动光标，Ctrl加方向键跳到那边的下一张牌，Home和End到行首和行尾，空格或回车选牌，"
                "退格取消选中，M跳到下一张相同图片的牌，T读出关卡、时间、提示、重洗和得分，"
                "F3暂停，F4提示，F5重洗。",
};

const TBoardWordTexts EnglishBoardWords = {
    .Cell = "{0} {1} {2}",
    .CellOne = "{0} {1}",
    .Empty = "empty",
    .Selected = "{0} selected",
    .Deselected = "{0} deselected",
    .NothingSelected = "nothing selected",
    .Removed = "two {0} removed, {1} tiles left",
    .Moved = "moved {0}",
    .NewTiles = "new tiles at {0}",
    .And = " and ",
    .Then = "; ",
    .NotLinked = "not linked",
    .Hint = "hint: {0} {1} {2} and {3} {4}",
    .Shuffled = "tiles shuffled",
    .NewLevel = "{0}: {1}, {2} tiles",
    .CellOrder = "cells read picture, column, row; left and right tell the column only, up and down the row",
    .TimeLow = "{0} seconds left",
    .GameOver = "game over, {0} points",
    .Paused = "paused",
    .Resumed = "resumed",
    .Status = "{0}, {1}; {2} seconds left, {3} hints, {4} shuffles, {5} points",
    .KeysHelp = "Arrow keys move over the cells, Ctrl with an arrow jumps to the next tile that way, Home and "
                "End go to the row's ends, Space or Enter takes a tile, Backspace takes it back, M goes to the "
                "next tile with the same picture, T tells the level, time, hints, shuffles and score, F3 "
                "pauses, F4 hints, F5 shuffles.",
};

const TBoardWordTexts& BoardWordTexts(std::uint8_t language) {
    return language == 1 ? EnglishBoardWords : ChineseBoardWords;
}

} // namespace pelmoravan
