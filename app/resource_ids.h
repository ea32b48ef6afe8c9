// Resource and command ids, shared by lanterra.rc and the code. Plain
// #defines because the resource compiler reads this file too.
#pragma once

#define IDI_PROGRAM 100
#define IDI_QUOTE 101
// The icons of the game-over box, one per result.
#define IDI_RESULT_WIN 108
#define IDI_RESULT_DRAW 109
#define IDI_RESULT_LOSS 110

#define IDB_BOARD 200
#define IDB_FRAME 201
// Piece pictures are 200 + the piece code: 208..214 red, 216..222 black.
#define IDB_PIECE_BASE 200
#define IDB_RED_KING 208
#define IDB_RED_ADVISOR 209
#define IDB_RED_BISHOP 210
#define IDB_RED_KNIGHT 211
#define IDB_RED_ROOK 212
#define IDB_RED_CANNON 213
#define IDB_RED_PAWN 214
#define IDB_BLACK_KING 216
#define IDB_BLACK_ADVISOR 217
#define IDB_BLACK_BISHOP 218
#define IDB_BLACK_KNIGHT 219
#define IDB_BLACK_ROOK 220
#define IDB_BLACK_CANNON 221
#define IDB_BLACK_PAWN 222

#define IDW_SELECT 300
#define IDW_REFUSED 301
#define IDW_HUMAN_MOVE 302
#define IDW_COMPUTER_MOVE 303
#define IDW_HUMAN_CAPTURE 304
#define IDW_COMPUTER_CAPTURE 305
#define IDW_HUMAN_CHECK 306
#define IDW_COMPUTER_CHECK 307
#define IDW_WIN 308
#define IDW_DRAW 309
#define IDW_LOSS 310
#define IDW_NEW_GAME 311

#define IDM_MAIN 400

// A new game is IDC_NEW_RED or IDC_NEW_BLACK plus the setup 0..3.
#define IDC_NEW_RED 401
#define IDC_NEW_RED_NO_KNIGHT 402
#define IDC_NEW_RED_NO_KNIGHTS 403
#define IDC_NEW_RED_NINE_PIECES 404
#define IDC_NEW_RED_LAST 404
#define IDC_NEW_BLACK 405
#define IDC_NEW_BLACK_NO_KNIGHT 406
#define IDC_NEW_BLACK_NO_KNIGHTS 407
#define IDC_NEW_BLACK_NINE_PIECES 408
#define IDC_NEW_BLACK_LAST 408
// A level is IDC_LEVEL_FIRST plus the level 0..6.
#define IDC_LEVEL_FIRST 411
#define IDC_LEVEL_1 412
#define IDC_LEVEL_2 413
#define IDC_LEVEL_3 414
#define IDC_LEVEL_4 415
#define IDC_LEVEL_5 416
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
