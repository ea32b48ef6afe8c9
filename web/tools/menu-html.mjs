// The page's menu bar, written as HTML from the resource script's menu. Each
// item carries its command id and the letter that chooses it from the keys.

// The menu without the item of one id, and without a separator that would
// then end its menu.
export function withoutItem(items, id) {
  const kept = items
    .filter((item) => item.id !== id)
    .map((item) => (item.items ? { ...item, items: withoutItem(item.items, id) } : item));
  while (kept.length && kept[kept.length - 1].separator) kept.pop();
  return kept;
}

const escapeHtml = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');

// "难度(&L)": the letter after & is underlined and is the item's key. A
// letter in brackets of its own, "(L)", is marked as the key's hint, which
// a touch screen without a keyboard leaves out.
function labelHtml(label) {
  const m = /&(.)/.exec(label);
  if (!m) return { html: escapeHtml(label), key: '' };
  const key = m[1].toLowerCase();
  const hint = /\(&(.)\)/.exec(label);
  if (hint) {
    const before = label.slice(0, hint.index);
    const after = label.slice(hint.index + hint[0].length);
    return { html: `${escapeHtml(before)}<span class="key">(<u>${escapeHtml(hint[1])}</u>)</span>${escapeHtml(after)}`, key };
  }
  const before = label.slice(0, m.index);
  const after = label.slice(m.index + 2);
  return { html: `${escapeHtml(before)}<u>${escapeHtml(m[1])}</u>${escapeHtml(after)}`, key };
}

function popupHtml(items, depth, roleOf) {
  const pad = '  '.repeat(depth);
  const out = [`${pad}<ul class="popup" role="menu">`];
  for (const item of items) {
    if (item.separator) {
      out.push(`${pad}  <li class="separator" role="separator"></li>`);
      continue;
    }
    const { html, key } = labelHtml(item.label);
    if (item.items) {
      out.push(`${pad}  <li class="item submenu" role="menuitem" tabindex="-1" aria-haspopup="menu" aria-expanded="false" data-key="${key}">` +
        `<span class="mark"></span><span class="label">${html}</span><span class="arrow"></span>`);
      out.push(popupHtml(item.items, depth + 2, roleOf));
      out.push(`${pad}  </li>`);
    } else {
      const role = roleOf(item.id);
      const checked = role === 'menuitem' ? '' : ' aria-checked="false"';
      out.push(`${pad}  <li class="item" role="${role}" tabindex="-1" data-command="${item.id}" data-key="${key}"${checked}>` +
        `<span class="mark"></span><span class="label">${html}</span></li>`);
    }
  }
  out.push(`${pad}</ul>`);
  return out.join('\n');
}

// roleOf(id): the item's ARIA role, 'menuitemradio' or 'menuitemcheckbox'
// for the items that carry a check mark, 'menuitem' for the others.
export function menuBarHtml(menus, roleOf) {
  const out = ['<nav id="menubar" role="menubar">'];
  for (const menu of menus) {
    if (!menu.items) throw new Error('a top-level menu entry must be a popup');
    const { html, key } = labelHtml(menu.label);
    out.push(`  <div class="menu">`);
    out.push(`    <button type="button" class="title" role="menuitem" aria-haspopup="menu" aria-expanded="false" data-key="${key}">${html}</button>`);
    out.push(popupHtml(menu.items, 2, roleOf));
    out.push('  </div>');
  }
  out.push('</nav>');
  return out.join('\n');
}
