// quarnex-server: the match server of network play (see docs/online.md).
#include <cstdio>
#include <iostream>

#include "server/ServerApp.h"
#include "server/ServerOptions.h"
#include "server/StampedLog.h"

int main(int argc, char** argv) {
    qx::server::ServerOptions options;
    std::string error;
    if (!qx::server::ServerOptions::Parse(argc, argv, options, error)) {
        std::cerr << "quarnex-server: " << error << '\n' << qx::server::ServerOptions::Usage();
        return 2;
    }
    if (options.help) {
        std::cout << qx::server::ServerOptions::Usage() << "See man quarnex-server.\n";
        return 0;
    }
    // Each line of the log with its time, unless the journal adds it.
    qx::server::StampedLog stamped(std::cout.rdbuf());
    std::ostream stampedOut(&stamped);
    std::ostream& log = qx::server::StampedLog::JournalStampsOutput() ? std::cout : stampedOut;
    qx::server::ServerApp app(options, log);
    if (!app.Open(error)) {
        std::cerr << "quarnex-server: " << error << '\n';
        return app.DataDamaged() ? 2 : 1;
    }
    log << "quarnex-server: listening on " << app.Port() << std::endl;
    app.Run(true);
    return 0;
}
