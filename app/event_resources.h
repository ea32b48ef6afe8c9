// The resources that sound or show the game's events: the window loads them
// from its resources and the page from files named after the same ids.
#pragma once

#include "app/resource_ids.h"
#include "app/window_services.h"

namespace lanterra {

constexpr int SoundResource(Sound sound) {
  switch (sound) {
    case Sound::SELECT: return IDW_SELECT;
    case Sound::REFUSED: return IDW_REFUSED;
    case Sound::HUMAN_MOVE: return IDW_HUMAN_MOVE;
    case Sound::COMPUTER_MOVE: return IDW_COMPUTER_MOVE;
    case Sound::HUMAN_CAPTURE: return IDW_HUMAN_CAPTURE;
    case Sound::COMPUTER_CAPTURE: return IDW_COMPUTER_CAPTURE;
    case Sound::HUMAN_CHECK: return IDW_HUMAN_CHECK;
    case Sound::COMPUTER_CHECK: return IDW_COMPUTER_CHECK;
    case Sound::WIN: return IDW_WIN;
    case Sound::DRAW: return IDW_DRAW;
    case Sound::LOSS: return IDW_LOSS;
    case Sound::NEW_GAME: return IDW_NEW_GAME;
  }
  return 0;
}

// The icon of the game-over box.
constexpr int ResultIcon(GameResult result) {
  switch (result) {
    case GameResult::WIN: return IDI_RESULT_WIN;
    case GameResult::DRAW: return IDI_RESULT_DRAW;
    case GameResult::LOSS: return IDI_RESULT_LOSS;
  }
  return 0;
}

// The icon resource of a message box, or 0 for the system's own symbols,
// which are no resource of the program.
constexpr int BoxIconResource(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::PROGRAM: return IDI_PROGRAM;
    case BoxIcon::QUOTE: return IDI_QUOTE;
    default: return 0;
  }
}

namespace detail {

// Every event sounds its own resource.
constexpr bool SoundResourcesDiffer() {
  for (int a = 0; a <= int(Sound::NEW_GAME); ++a)
    for (int b = a + 1; b <= int(Sound::NEW_GAME); ++b)
      if (SoundResource(Sound(a)) == SoundResource(Sound(b))) return false;
  return true;
}
static_assert(SoundResourcesDiffer());

}  // namespace detail

}  // namespace lanterra
