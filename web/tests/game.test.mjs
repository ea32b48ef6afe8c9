// A whole game to its game-over box, answered No and then, in a replay of
// the same game from the same seed, Yes. The human's moves come from the
// native engine; on the way a move that would leave the king attacked is
// refused.
import assert from 'node:assert/strict';
import { after as afterAll, before, test } from 'node:test';
import { after, compose, Game, movesOf, placement, SETUPS, setUp, think } from './harness.mjs';

let env;
before(async () => { env = await setUp(); });
afterAll(async () => { await env.close(); });

const SEED = 4242;
const SETUP = SETUPS[3];
const RESULTS = {
  '祝贺你取得胜利！': 108, '电脑长打作负，祝贺你取得胜利！': 108,
  '双方不变作和，辛苦了！': 109, '超过自然限着作和，辛苦了！': 109,
  '长打作负，请不要气馁！': 110, '请再接再厉！': 110,
};
// How the record beside the board names each ending, the human on black.
const OUTCOMES = {
  '祝贺你取得胜利！': /^黑胜（(将死|困毙)）$/, '电脑长打作负，祝贺你取得胜利！': /^黑胜（长将作负）$/,
  '双方不变作和，辛苦了！': /^和棋（双方不变作和）$/, '超过自然限着作和，辛苦了！': /^和棋（超过自然限着作和）$/,
  '长打作负，请不要气馁！': /^红胜（长将作负）$/, '请再接再厉！': /^红胜（(将死|困毙)）$/,
};

// Plays black against red without nine pieces until a box ends the game.
// With `replay`, the human plays those moves instead of asking the engine.
async function playToTheEnd(game, replay) {
  await game.command(408);
  const moves = [await game.replyAfter(SETUP, [], 'opening')];
  const mine = [];
  let refusedSeen = false;
  for (let turn = 0; turn < 100; turn++) {
    if (!replay && !refusedSeen) refusedSeen = await tryRefusedMove(game, moves);
    const move = replay ? replay[turn] : think(SETUP, { level: 3, seed: turn + 1, moves });
    await game.sounds();
    await game.move(move);
    moves.push(move);
    mine.push(move);
    if (await game.boxOpen()) return { moves, mine, refusedSeen };
    moves.push(await game.replyAfter(SETUP, moves, `turn-${turn}`));
    if (await game.boxOpen()) return { moves, mine, refusedSeen };
  }
  assert.fail('no game-over box within 100 moves');
}

// A move that would leave the own king attacked sounds the refusal and
// changes nothing; the piece stays selected.
async function tryRefusedMove(game, moves) {
  const fen = after(SETUP, moves);
  const { refused } = movesOf(fen);
  if (!refused.length) return false;
  const move = refused[0];
  await game.sounds();
  await game.move(move);
  assert.deepEqual(await game.sounds(), [300, 301], `refusing ${move}`);
  await game.expectPicture(compose(fen, { flipped: true, framed: [move.slice(0, 2)] }), 'refused');
  return true;
}

// The box names the ending; its icon and the sound before it match it.
async function judgeBox(game) {
  const sounds = await game.sounds();
  const box = await game.box();
  assert.equal(box.caption, '游戏结束');
  assert.ok(box.text.endsWith('\n\n再来一盘吗？'), box.text);
  const result = RESULTS[box.text.slice(0, -'\n\n再来一盘吗？'.length)];
  assert.ok(result, `an unknown ending: ${box.text}`);
  assert.equal(box.icon, `icons/${result}.png`);
  assert.equal(sounds[sounds.length - 1], result + 200, `the result sound, not ${sounds}`);
  assert.deepEqual(box.answers, [6, 7]);
  // The record and the screen reader say the same.
  const ending = box.text.slice(0, -'\n\n再来一盘吗？'.length);
  const outcome = await game.page.locator('#outcome').textContent();
  assert.match(outcome, OUTCOMES[ending]);
  assert.equal(await game.page.locator('#announce > :last-child').textContent(), `对局结束：${outcome}`);
}

let firstGame;

test('a game played to its end shows the game-over box; No leaves the final position over', async () => {
  const game = await Game.open(env, { seed: SEED });
  firstGame = await playToTheEnd(game);
  assert.ok(firstGame.refusedSeen, 'the game offered no move to refuse');
  await judgeBox(game);
  await game.screenshot('game-over');
  await game.answer(7);
  assert.equal(await game.boxOpen(), false);

  // Over: pieces of the side to move still select, but nothing moves.
  const final = after(SETUP, firstGame.moves);
  const pieces = Object.entries(placement(final));
  const red = final.split(' ')[1] === 'w';
  const [own] = pieces.find(([, letter]) => (letter === letter.toUpperCase()) === red);
  const { legal } = movesOf(final);
  await game.sounds();
  await game.clickSquare(own);
  const target = legal.find((m) => m.startsWith(own));
  if (target) await game.clickSquare(target.slice(2));
  assert.deepEqual(await game.sounds(), [300]);
  await game.expectPicture(compose(final, { flipped: true, framed: [own] }), 'over');
  assert.equal(await game.boxOpen(), false);
  await game.close();
});

test('the same seed replays the same game, and Yes starts a new one with the sides swapped', async () => {
  assert.ok(firstGame, 'the first game must have been played');
  const game = await Game.open(env, { seed: SEED });
  const replay = await playToTheEnd(game, firstGame.mine);
  assert.deepEqual(replay.moves, firstGame.moves, 'the computer played the same moves');
  await judgeBox(game);
  await game.answer(6);
  game.flipped = false;
  assert.deepEqual(await game.sounds(), [311]);
  await game.expectPicture(compose(SETUPS[0]), 'play-again');
  assert.equal((await game.menuState())[421].disabled, true);
  await game.move('h2e2');
  assert.ok(await game.replyAfter(SETUPS[0], ['h2e2']));
  await game.close();
});
