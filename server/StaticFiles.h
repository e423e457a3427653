#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx::server {

// The files of the browser page the server hands out: a request's path is
// read strictly (no "..", no hidden files, nothing that leads outside the
// folder, symbolic links included), a folder means its index.html, and a
// file compressed beforehand beside it (name.br, name.gz) is sent instead
// when the browser accepts that encoding. Every file has a validator (ETag);
// a file whose name carries the hash of its content (name.0123456789abcdef.js)
// never changes and may be kept for a year, the others are checked each time.
// A build folder (CMakeCache.txt, build.ninja) is refused: it would hand out
// the build's settings and absolute paths.
class StaticFiles {
  public:
    enum class Result { Ok, NotFound, Forbidden, BadRequest };

    struct File {
        std::string path;          // what to send
        std::string contentType;   // of the original file
        std::string encoding;      // "br", "gzip" or empty
        std::string etag;          // quoted, different for each encoding
        std::string cacheControl;  // immutable for hashed names, no-cache otherwise
        uint64_t size = 0;
    };

    explicit StaticFiles(const std::string& root);
    bool Valid() const { return !root.empty(); }
    // Why the folder cannot be served (empty when it can).
    const std::string& Problem() const { return problem; }

    Result Resolve(std::string_view target, std::string_view acceptEncoding, File& file) const;

    static std::string ContentType(std::string_view path);
    // Whether an Accept-Encoding header value allows `coding`.
    static bool Accepts(std::string_view acceptEncoding, std::string_view coding);
    // Whether an If-None-Match header value names `etag` (or is "*").
    static bool NoneMatchHits(std::string_view ifNoneMatch, std::string_view etag);
    // Whether a file name carries a content hash: stem.<16 hex digits>.ext.
    static bool HashedName(std::string_view name);

  private:
    std::string root;  // canonical, without a trailing slash
    std::string problem;
};

}  // namespace qx::server
