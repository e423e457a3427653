#include "app/GameApp.h"

int main(int argc, char** argv) {
    GameApp app(argc, argv);
    return app.Run();
}
