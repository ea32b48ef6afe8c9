// Resource and command ids, shared by lanterra.rc and the code. Plain
// #defines because the resource compiler reads this file too.
#pragma once

#define IDI_PROGRAM 100
#define IDI_QUOTE 101
// A game result names both its icon and, 200 higher, its sound.
#define IDI_RESULT_WIN 108
#define IDI_RESULT_DRAW 109
#define IDI_RESULT_LOSS 110

#define IDB_BOARD 200
#define IDB_FRAME 201
// Piece pictures are 200 + the piece code: 208..214 red, 216..222 black.
#define IDB_PIECE_BASE 200

#define IDW_SELECT 300
#define IDW_NEW_GAME 311

#define IDM_MAIN 400

#define IDC_NEW_RED 401
#define IDC_NEW_RED_LAST 404
#define IDC_NEW_BLACK 405
#define IDC_NEW_BLACK_LAST 408
#define IDC_LEVEL_FIRST 411
#define IDC_LEVEL_LAST 417
#define IDC_UNDO 421
#define IDC_SOUND 431
#define IDC_EXIT 449
#define IDC_SHARE_QZONE 481
#define IDC_SHARE_WEIBO 482
#define IDC_SHARE_KAIXIN 483
#define IDC_SHARE_RENREN 484
#define IDC_COPY_RECOMMENDATION 485
#define IDC_QUOTE 491
#define IDC_LATEST_VERSION 492
#define IDC_MAKER_HOME 493
#define IDC_SIBLING_PRODUCT 494
#define IDC_FEEDBACK 495
#define IDC_ABOUT 499
