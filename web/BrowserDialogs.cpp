#include "web/BrowserDialogs.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, qx_page_open_end_of_game, (const char* caption, const char* text), {
    Module.page.openEndOfGame(UTF8ToString(caption), UTF8ToString(text));
});

EM_JS(void, qx_page_open_new_game, (int emperorHuman, int rebelHuman), {
    Module.page.openNewGame(emperorHuman !== 0, rebelHuman !== 0);
});
// clang-format on

namespace qx::web {

void BrowserDialogs::OpenEndOfGame(const std::string& caption, const std::string& text) {
    qx_page_open_end_of_game(caption.c_str(), text.c_str());
}

void BrowserDialogs::OpenNewGame(const PlayerChoice& choice) {
    qx_page_open_new_game(choice.emperorHuman ? 1 : 0, choice.rebelHuman ? 1 : 0);
}

}  // namespace qx::web
