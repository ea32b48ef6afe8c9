// The game-over texts and their caption, as the GBK (code page 936) byte
// strings the message box shows. Each is given in readable form beside it.
#pragma once

#include <iterator>
#include <string_view>

namespace lanterra {

// 祝贺你取得胜利！ (the computer is mated or stalemated)
inline constexpr char TEXT_HUMAN_WINS[] =
    "\xd7\xa3\xba\xd8\xc4\xe3\xc8\xa1\xb5\xc3\xca\xa4\xc0\xfb\xa3\xa1";
// 长打作负，请不要气馁！ (the human checked perpetually)
inline constexpr char TEXT_HUMAN_PERPETUAL[] =
    "\xb3\xa4\xb4\xf2\xd7\xf7\xb8\xba\xa3\xac\xc7\xeb\xb2\xbb\xd2\xaa\xc6\xf8\xc4\xd9\xa3\xa1";
// 电脑长打作负，祝贺你取得胜利！ (the computer checked perpetually)
inline constexpr char TEXT_COMPUTER_PERPETUAL[] =
    "\xb5\xe7\xc4\xd4\xb3\xa4\xb4\xf2\xd7\xf7\xb8\xba\xa3\xac"
    "\xd7\xa3\xba\xd8\xc4\xe3\xc8\xa1\xb5\xc3\xca\xa4\xc0\xfb\xa3\xa1";
// 双方不变作和，辛苦了！ (a repetition without a perpetual checker)
inline constexpr char TEXT_REPETITION_DRAW[] =
    "\xcb\xab\xb7\xbd\xb2\xbb\xb1\xe4\xd7\xf7\xba\xcd\xa3\xac\xd0\xc1\xbf\xe0\xc1\xcb\xa3\xa1";
// 超过自然限着作和，辛苦了！ (100 moves without a capture)
inline constexpr char TEXT_MOVE_LIMIT_DRAW[] =
    "\xb3\xac\xb9\xfd\xd7\xd4\xc8\xbb\xcf\xde\xd7\xc5\xd7\xf7\xba\xcd\xa3\xac\xd0\xc1\xbf\xe0\xc1\xcb\xa3\xa1";
// 请再接再厉！ (the human is mated or stalemated)
inline constexpr char TEXT_COMPUTER_WINS[] = "\xc7\xeb\xd4\xd9\xbd\xd3\xd4\xd9\xc0\xf7\xa3\xa1";

// "\n\n再来一盘吗？": the question every game-over box ends with.
inline constexpr char TEXT_PLAY_AGAIN_QUESTION[] = "\n\n\xd4\xd9\xc0\xb4\xd2\xbb\xc5\xcc\xc2\xf0\xa3\xbf";
// 游戏结束: the caption of the game-over box.
inline constexpr char CAPTION_GAME_OVER[] = "\xd3\xce\xcf\xb7\xbd\xe1\xca\xf8";

// The message buffer of a game-over box. The longest text with the question
// is 44 bytes, so every message fits with room to spare.
inline constexpr int GAME_OVER_MESSAGE_SIZE = 256;
static_assert(sizeof(TEXT_COMPUTER_PERPETUAL) - 1 + sizeof(TEXT_PLAY_AGAIN_QUESTION) - 1 == 44);

// All the texts a game can end with, for callers that classify endings.
inline constexpr std::string_view GAME_OVER_TEXTS[] = {
    TEXT_HUMAN_WINS,      TEXT_HUMAN_PERPETUAL, TEXT_COMPUTER_PERPETUAL,
    TEXT_REPETITION_DRAW, TEXT_MOVE_LIMIT_DRAW, TEXT_COMPUTER_WINS,
};
static_assert(std::size(GAME_OVER_TEXTS) == 6);

}  // namespace lanterra
