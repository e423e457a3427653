// The page's menu bar: a click opens a menu, a click on an item runs its
// command, a click elsewhere or Escape closes it; while one menu is open,
// pointing at another title opens that one. Afterwards the keys go back to
// the game.
export function wireMenu(bar, commands, giveBackFocus) {
  const menus = [...bar.querySelectorAll('.menu')];
  let open = null;

  const show = (menu) => {
    if (open && open !== menu) open.classList.remove('open');
    open = menu;
    for (const m of menus) {
      m.querySelector('.title').setAttribute('aria-expanded', String(m === menu));
    }
    menu?.classList.add('open');
  };
  const close = () => {
    if (!open) return;
    open.classList.remove('open');
    show(null);
    giveBackFocus();
  };

  for (const menu of menus) {
    const title = menu.querySelector('.title');
    title.addEventListener('click', () => (open === menu ? close() : show(menu)));
    title.addEventListener('pointerenter', () => { if (open && open !== menu) show(menu); });
    for (const item of menu.querySelectorAll('[data-command]')) {
      item.addEventListener('click', () => {
        close();
        commands[item.dataset.command]();
      });
    }
  }
  document.addEventListener('pointerdown', (event) => {
    if (open && !bar.contains(event.target)) close();
  });
  document.addEventListener('keydown', (event) => {
    if (open && event.key === 'Escape') {
      event.preventDefault();
      close();
    }
  });
  return { isOpen: () => open !== null };
}
