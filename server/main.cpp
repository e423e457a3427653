// quarnex-server: the match server of network play (see docs/online.md).
#include <cstdio>
#include <iostream>

#include "server/ServerApp.h"
#include "server/ServerOptions.h"

int main(int argc, char** argv) {
    qx::server::ServerOptions options;
    std::string error;
    if (!qx::server::ServerOptions::Parse(argc, argv, options, error)) {
        std::cerr << "quarnex-server: " << error << '\n' << qx::server::ServerOptions::Usage();
        return 2;
    }
    qx::server::ServerApp app(options, std::cout);
    if (!app.Open(error)) {
        std::cerr << "quarnex-server: " << error << '\n';
        return 1;
    }
    std::cout << "quarnex-server: listening on " << app.Port() << std::endl;
    app.Run(true);
    return 0;
}
