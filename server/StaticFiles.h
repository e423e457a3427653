#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx::server {

// The files of the browser build the server hands out: a request's path is
// read strictly (no "..", no hidden files, nothing that leads outside the
// folder, symbolic links included), a folder means its index.html, and a
// file compressed beforehand beside it (name.br, name.gz) is sent instead
// when the browser accepts that encoding.
class StaticFiles {
  public:
    enum class Result { Ok, NotFound, Forbidden, BadRequest };

    struct File {
        std::string path;         // what to send
        std::string contentType;  // of the original file
        std::string encoding;     // "br", "gzip" or empty
        uint64_t size = 0;
    };

    explicit StaticFiles(std::string root);
    bool Valid() const { return !root.empty(); }

    Result Resolve(std::string_view target, std::string_view acceptEncoding, File& file) const;

    static std::string ContentType(std::string_view path);
    // Whether an Accept-Encoding header value allows `coding`.
    static bool Accepts(std::string_view acceptEncoding, std::string_view coding);

  private:
    std::string root;  // canonical, without a trailing slash
};

}  // namespace qx::server
