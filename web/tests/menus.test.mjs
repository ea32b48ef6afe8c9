// The menu and the boxes it opens: the items of the window's menu with their
// marks and gray states, levels, sound, undo, quotes, About, the web pages
// and the recommendation on the clipboard.
import assert from 'node:assert/strict';
import { after as afterAll, before, test } from 'node:test';
import { compose, Game, gbk, SETUPS, setUp } from './harness.mjs';

let env;
before(async () => { env = await setUp(); });
afterAll(async () => { await env.close(); });

const MENU =
  '游戏(G)[我先走(R)#401,电脑先走(B)#405,-,' +
  '难度(L)[傻瓜(A)#411,菜鸟(B)#412,新手(C)#413,入门(D)#414,业余(E)#415,专业(F)#416,大师(G)#417],' +
  '让子(H)[让单马(A)#402,让双马(B)#403,让九子(C)#404,-,被让单马(D)#406,被让双马(E)#407,被让九子(F)#408],' +
  '-,悔棋(T)#421,-,音效(S)#431] ' +
  '帮助(H)[名言(Q)#491,-,推荐给好友(F)[QQ空间(Q)#481,新浪微博(S)#482,开心网(K)#483,人人网(R)#484,-,其他网站(O)#485],' +
  '-,检查最新版本(U)#492,Quillon(H)#493,Velmora(X)#494,意见反馈(S)#495,-,关于(A)#499]';

const PRODUCT_PAGE = 'https://www.quillon.example/velmora/torvin2010.htm';
const TITLE = 'Lanterra - 精巧的单机版象棋小游戏，感受象棋乐趣的最佳选择';
const LEVEL6_WARNING = '“大师”难度电脑思考时间可能会很长，建议缺乏耐心的象棋爱好者不要选择这个难度。';

test('the menu bar holds the window menu\'s items, separators and submenus, without Exit', async () => {
  const game = await Game.open(env);
  const shown = await game.page.evaluate(() => {
    const list = (ul) => [...ul.children].map((li) => {
      if (li.classList.contains('separator')) return '-';
      const label = li.querySelector(':scope > .label').textContent;
      if (li.classList.contains('submenu')) return `${label}[${list(li.querySelector(':scope > ul'))}]`;
      return `${label}#${li.dataset.command}`;
    }).join(',');
    return [...document.querySelectorAll('#menubar > .menu')]
      .map((menu) => `${menu.querySelector('.title').textContent}[${list(menu.querySelector(':scope > ul'))}]`).join(' ');
  });
  assert.equal(shown, MENU);
  await game.close();
});

test('start-up marks the lowest level and sound and grays Undo; each level command moves the one mark', async () => {
  const game = await Game.open(env);
  const marks = (state) => Object.keys(state).filter((id) => state[id].checked).join(' ');
  const grays = (state) => Object.keys(state).filter((id) => state[id].disabled).join(' ');
  let state = await game.menuState();
  assert.equal(marks(state), '411 431');
  assert.equal(grays(state), '421');
  for (const id of [415, 412, 416, 411, 414, 413]) {
    await game.command(id);
    state = await game.menuState();
    assert.equal(marks(state), `${id} 431`);
    assert.equal(await game.boxOpen(), false);
  }
  // The top level warns every time it is chosen.
  for (let i = 0; i < 2; i++) {
    await game.command(417);
    assert.deepEqual(await game.box(), { caption: 'Lanterra', text: LEVEL6_WARNING, icon: 'information.svg', answers: [1] });
    await game.screenshot('level6-warning');
    await game.answer(1);
    assert.equal(marks(await game.menuState()), '417 431');
  }
  await game.close();
});

test('the keyboard reaches items by their underlined letters', async () => {
  const game = await Game.open(env);
  await game.page.keyboard.press('Alt+g');
  await game.page.keyboard.press('l');
  await game.page.keyboard.press('e');
  await game.settle();
  assert.equal((await game.menuState())[415].checked, true);
  await game.page.keyboard.press('Alt+h');
  await game.page.keyboard.press('a');
  assert.equal((await game.box()).caption, '关于 Lanterra');
  await game.page.keyboard.press('Enter');
  assert.equal(await game.boxOpen(), false);
  await game.close();
});

test('a gray Undo cannot be chosen', async () => {
  const game = await Game.open(env);
  await game.sounds();
  const item = await game.openMenuItem(421);
  await game.screenshot('menu-undo-gray');
  await item.click({ force: true });
  assert.equal(await item.isVisible(), true, 'the menu stays open');
  await game.settle();
  await game.page.keyboard.press('Escape');
  await game.expectPicture(compose(SETUPS[0]), 'undo-gray');
  assert.deepEqual(await game.sounds(), []);
  await game.close();
});

test('with sound off nothing sounds, boxes still come; quotes and About beep only with sound on', async () => {
  const game = await Game.open(env, { seed: 11 });
  await game.sounds();
  await game.command(491);
  assert.deepEqual(await game.sounds(), ['beep']);
  const quote = await game.box();
  assert.equal(quote.caption, '名言');
  assert.equal(quote.icon, 'icons/101.png');
  assert.match(quote.text, /^[^\n]+\n\n\u3000{20}——《[^》]+》$/);
  assert.deepEqual(quote.answers, [1]);
  await game.screenshot('quote');
  await game.answer(1);

  await game.command(499);
  assert.deepEqual(await game.sounds(), ['beep']);
  const about = await game.box();
  assert.equal(about.caption, '关于 Lanterra');
  assert.equal(about.icon, 'icons/100.png');
  assert.ok(about.text.startsWith('Lanterra (1.31版)\n\n'), about.text);
  await game.screenshot('about');
  // While a box is open the board takes no clicks.
  await game.clickSquare('h2');
  assert.equal(await game.boxOpen(), true);
  await game.page.keyboard.press('Escape');
  assert.equal(await game.boxOpen(), false);
  await game.expectPicture(compose(SETUPS[0]), 'after-about');

  await game.command(431);
  assert.equal((await game.menuState())[431].checked, false);
  await game.move('h2e2');
  await game.command(491);
  await game.answer(1);
  await game.command(401);
  assert.deepEqual(await game.sounds(), []);
  await game.command(431);
  assert.equal((await game.menuState())[431].checked, true);
  await game.clickSquare('h2');
  assert.deepEqual(await game.sounds(), [300]);
  await game.close();
});

// The addresses are the game's own, which the worker hands the page at
// start-up; they are recorded on their way.
const RECORD_LINKS = () => {
  window.lanterraLinks = {};
  const PageWorker = window.Worker;
  window.Worker = class extends PageWorker {
    constructor(...args) {
      super(...args);
      this.addEventListener('message', (event) => {
        if (event.data.type === 'link') window.lanterraLinks[event.data.id] = event.data.address;
      });
    }
  };
};

test('the share and web items open their addresses in a new tab', async () => {
  const game = await Game.open(env);
  await game.page.addInitScript(RECORD_LINKS);
  await game.page.reload();
  await game.settle();
  const links = await game.page.evaluate(() => window.lanterraLinks);
  assert.deepEqual(Object.keys(links), ['481', '482', '483', '484', '492', '493', '494', '495']);
  assert.equal(new Set(Object.values(links)).size, 8);
  const opened = [];
  // Nothing outside the page's own folder may be reached: record and refuse.
  await game.context.route((url) => !url.href.startsWith(env.base), (route) => {
    opened.push(route.request().url());
    return route.abort();
  });
  for (const [id, address] of Object.entries(links)) {
    opened.length = 0;
    const popup = game.page.waitForEvent('popup');
    await game.command(Number(id));
    await (await popup).close();
    assert.equal(opened.length, 1, `command ${id} opened ${opened}`);
    assert.equal(opened[0], address, `command ${id}`);
    assert.match(address, /^https?:\/\/[\x21-\x7e]+$/);
    if (Number(id) <= 484) assert.ok(address.endsWith(PRODUCT_PAGE), address);
    assert.equal(game.page.url().startsWith(env.base), true);
  }
  // The title travels as GBK bytes, percent-encoded.
  const decodeParameter = (url, key) => {
    const raw = new URL(url).search.slice(1).split('&').find((p) => p.startsWith(`${key}=`)).slice(key.length + 1);
    const bytes = [];
    for (let i = 0; i < raw.length; i++) {
      if (raw[i] === '%') {
        bytes.push(parseInt(raw.slice(i + 1, i + 3), 16));
        i += 2;
      } else {
        bytes.push(raw.charCodeAt(i));
      }
    }
    return gbk.decode(new Uint8Array(bytes));
  };
  opened.length = 0;
  let popup = game.page.waitForEvent('popup');
  await game.command(482);
  await (await popup).close();
  assert.equal(decodeParameter(opened[0], 'title'), TITLE);
  opened.length = 0;
  popup = game.page.waitForEvent('popup');
  await game.command(483);
  await (await popup).close();
  assert.equal(decodeParameter(opened[0], 'rtitle'), `${TITLE}    `);
  assert.equal(decodeParameter(opened[0], 'rcontent'), `${TITLE}    `);
  await game.close();
});

test('the recommendation goes onto the clipboard as text, or the refusal box says it could not', async () => {
  const game = await Game.open(env, { context: { permissions: ['clipboard-read', 'clipboard-write'] } });
  await game.command(485);
  const box = await game.box();
  assert.equal(box.caption, '推荐给好友');
  assert.equal(box.icon, 'information.svg');
  assert.equal(box.text,
    '推荐链接已复制到剪贴板，您可以将推荐链接粘贴到任何网站、论坛、社区上(按Ctrl-V键粘贴)。\n\n感谢您对《Lanterra》的支持。');
  await game.screenshot('copied');
  await game.answer(1);
  assert.equal(await game.page.evaluate(() => navigator.clipboard.readText()), `${TITLE} \r\n${PRODUCT_PAGE}`);
  await game.close();

  const refused = await Game.open(env);
  await refused.page.evaluate(() => {
    Object.defineProperty(navigator, 'clipboard', {
      value: { writeText: () => Promise.reject(new DOMException('refused', 'NotAllowedError')) },
    });
  });
  await refused.command(485);
  assert.deepEqual(await refused.box(), {
    caption: '推荐给好友', text: '无法打开剪贴板，请稍后再试。', icon: 'warning.svg', answers: [1],
  });
  await refused.screenshot('clipboard-refused');
  await refused.close();
});
