#pragma once

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace qx::test {

// A real PostgreSQL server for a test (tests/support/postgres.sh): made in a
// temporary folder with initdb and started with pg_ctl, listening only on a
// Unix socket there, stopped and removed when it goes. Making and starting
// it takes about 1.5 s on the build machine; Stop and Start about 0.15 s.
class RealPostgres {
  public:
    RealPostgres() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qxpg-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        folder = pattern;
        Start();
    }
    ~RealPostgres() {
        if (!folder.empty()) Run("remove");
    }
    RealPostgres(const RealPostgres&) = delete;
    RealPostgres& operator=(const RealPostgres&) = delete;

    // Empty when the server could not be started.
    const std::string& Url() const { return url; }
    bool Start() {
        url = Run("start");
        return !url.empty();
    }
    void Stop() { Run("stop"); }

  private:
    // The script's first line of output.
    std::string Run(const char* action) const {
        const std::string command = std::string(QUARNEX_SOURCE_DIR) +
                                    "/tests/support/postgres.sh " + action + " '" + folder + "'";
        FILE* out = popen(command.c_str(), "r");
        if (!out) return "";
        char line[512] = {};
        const bool read = fgets(line, sizeof line, out) != nullptr;
        const int status = pclose(out);
        std::string text = read && status == 0 ? line : "";
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }

    std::string folder, url;
};

}  // namespace qx::test
