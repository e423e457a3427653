// The page's menu bar: a click (or Enter, Space, Alt+letter on a title)
// opens a menu, a click on an item runs its command, a click elsewhere or
// Escape closes it; while one menu is open, pointing at another title opens
// that one. In an open menu the arrows move between items and menus and an
// item's underlined letter runs it; disabled items are passed over, and the
// arrows wrap round at either end. Afterwards the keys go back to the game.
// Nothing opens while `blocked()` (a dialog is open).
export function wireMenu(bar, commands, giveBackFocus, blocked = () => false) {
  const menus = [...bar.querySelectorAll('.menu')];
  let open = null;

  const itemsOf = (menu) => [...menu.querySelectorAll('[data-command]')];
  const enabledItems = (menu) => itemsOf(menu).filter((item) => !item.disabled);
  const show = (menu, focusFirst = false) => {
    if (open && open !== menu) open.classList.remove('open');
    open = menu;
    for (const m of menus) {
      m.querySelector('.title').setAttribute('aria-expanded', String(m === menu));
    }
    menu?.classList.add('open');
    if (menu && focusFirst) enabledItems(menu)[0]?.focus();
  };
  const close = (focus = true) => {
    if (!open) return;
    open.classList.remove('open');
    show(null);
    if (focus) giveBackFocus();
  };
  const run = (item) => {
    close();
    commands[item.dataset.command]();
  };

  for (const menu of menus) {
    const title = menu.querySelector('.title');
    // A click from the keyboard (detail 0) puts the focus on the first item.
    title.addEventListener('click', (event) => {
      if (blocked()) return;
      if (open === menu) close();
      else show(menu, event.detail === 0);
    });
    title.addEventListener('pointerenter', () => { if (open && open !== menu) show(menu); });
    for (const item of itemsOf(menu)) item.addEventListener('click', () => run(item));
  }
  document.addEventListener('pointerdown', (event) => {
    if (open && !bar.contains(event.target)) close();
  });
  // Alt and a title's underlined letter open its menu (the page handles it
  // rather than the browser's access keys, so that it can refuse while a
  // dialog is open).
  document.addEventListener('keydown', (event) => {
    if (!event.altKey || event.ctrlKey || event.metaKey || event.defaultPrevented) return;
    const letter = event.code.startsWith('Key') ? event.code.slice(3).toLowerCase() : '';
    const menu = menus.find((m) => letter && m.querySelector('.title').dataset.accessKey === letter);
    if (!menu) return;
    event.preventDefault();
    if (!blocked()) show(menu, true);
  });
  document.addEventListener('keydown', (event) => {
    if (!open || event.defaultPrevented) return;
    const items = enabledItems(open);
    const at = items.indexOf(document.activeElement);
    // With no item focused yet, down goes to the first and up to the last.
    const end = (last) => items[last ? items.length - 1 : 0]?.focus();
    const step = (by) => (at < 0 ? end(by < 0) : items[(at + by + items.length) % items.length].focus());
    const other = (by) => show(menus[(menus.indexOf(open) + by + menus.length) % menus.length], true);
    const byLetter = items.find((i) => event.key.length === 1 && !event.altKey &&
                                       i.dataset.accessKey === event.key.toLowerCase());
    if (event.key === 'Escape') close();
    else if (event.key === 'ArrowDown') step(1);
    else if (event.key === 'ArrowUp') step(-1);
    else if (event.key === 'Home' || event.key === 'End') end(event.key === 'End');
    else if (event.key === 'ArrowRight') other(1);
    else if (event.key === 'ArrowLeft') other(-1);
    else if (byLetter) run(byLetter);
    else return;
    event.preventDefault();
  });
  return {
    isOpen: () => open !== null,
    close: () => close(false),
    setChecked(command, on) {
      bar.querySelector(`[data-command="${command}"]`)?.setAttribute('aria-checked', String(on));
    },
  };
}
