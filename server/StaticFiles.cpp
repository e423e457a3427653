#include "server/StaticFiles.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace qx::server {
namespace {

namespace fs = std::filesystem;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool PercentDecode(std::string_view in, std::string& out) {
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out.push_back(in[i]);
            continue;
        }
        if (i + 2 >= in.size()) return false;
        const int hi = HexValue(in[i + 1]);
        const int lo = HexValue(in[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    return true;
}

bool RegularFile(const std::string& path, uint64_t& size) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    size = fs::file_size(path, ec);
    return !ec;
}

// A strong validator from the sent file's size and time of change: a new
// build (or a new compressed copy) gives a new one.
std::string EntityTag(const std::string& path, uint64_t size, std::string_view encoding) {
    std::error_code ec;
    const auto changed = fs::last_write_time(path, ec).time_since_epoch().count();
    char text[64];
    std::snprintf(text, sizeof text, "\"%llx-%llx%s%.*s\"", static_cast<unsigned long long>(size),
                  static_cast<unsigned long long>(changed), encoding.empty() ? "" : "-",
                  static_cast<int>(encoding.size()), encoding.data());
    return text;
}

bool HexDigits(std::string_view s) {
    return s.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

StaticFiles::StaticFiles(const std::string& folder) {
    std::error_code ec;
    const fs::path canonical = fs::canonical(folder, ec);
    if (ec || !fs::is_directory(canonical, ec)) {
        problem = "no folder " + folder;
        return;
    }
    for (const char* mark : {"CMakeCache.txt", "build.ninja", "Makefile"}) {
        if (fs::exists(canonical / mark, ec)) {
            problem = folder + " is a build folder (it holds " + mark +
                      "); serve the page's own folder in it (" +
                      (fs::path(folder) / "page").string() + ")";
            return;
        }
    }
    root = canonical.string();
}

StaticFiles::Result StaticFiles::Resolve(std::string_view target, std::string_view accept,
                                         File& file) const {
    if (root.empty()) return Result::NotFound;
    target = target.substr(0, target.find_first_of("?#"));
    std::string decoded;
    if (target.empty() || target[0] != '/' || !PercentDecode(target, decoded)) {
        return Result::BadRequest;
    }
    std::string relative;
    size_t start = 1;
    while (start <= decoded.size()) {
        size_t end = decoded.find('/', start);
        if (end == std::string::npos) end = decoded.size();
        const std::string_view segment(decoded.data() + start, end - start);
        if (!segment.empty()) {
            if (segment[0] == '.' ||
                segment.find_first_of(std::string_view("\\\0", 2)) != std::string_view::npos) {
                return Result::Forbidden;
            }
            relative.append("/").append(segment);
        }
        start = end + 1;
    }
    std::string path = root + relative;
    std::error_code ec;
    if (relative.empty() || fs::is_directory(path, ec)) path += "/index.html";
    // Symbolic links inside the folder may not lead out of it.
    const fs::path real = fs::canonical(path, ec);
    if (ec) return Result::NotFound;
    const std::string realText = real.string();
    if (realText.compare(0, root.size() + 1, root + "/") != 0) return Result::Forbidden;
    uint64_t size = 0;
    if (!RegularFile(realText, size)) return Result::NotFound;
    file = File{realText, ContentType(realText), "", "", "", size};
    for (const auto& [coding, suffix] : {std::pair{"br", ".br"}, std::pair{"gzip", ".gz"}}) {
        uint64_t packedSize = 0;
        if (Accepts(accept, coding) && RegularFile(realText + suffix, packedSize)) {
            file.path = realText + suffix;
            file.encoding = coding;
            file.size = packedSize;
            break;
        }
    }
    file.etag = EntityTag(file.path, file.size, file.encoding);
    file.cacheControl =
        HashedName(real.filename().string()) ? "public, max-age=31536000, immutable" : "no-cache";
    return Result::Ok;
}

std::string StaticFiles::ContentType(std::string_view path) {
    static const std::pair<std::string_view, std::string_view> kTypes[] = {
        {".html", "text/html; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".mjs", "text/javascript; charset=utf-8"},
        {".wasm", "application/wasm"},
        {".css", "text/css; charset=utf-8"},
        {".json", "application/json"},
        {".webmanifest", "application/manifest+json"},
        {".png", "image/png"},
        {".svg", "image/svg+xml"},
        {".ico", "image/x-icon"},
        {".bmp", "image/bmp"},
        {".txt", "text/plain; charset=utf-8"},
        {".map", "application/json"},
    };
    const size_t dot = path.rfind('.');
    if (dot != std::string_view::npos && path.find('/', dot) == std::string_view::npos) {
        const std::string_view ext = path.substr(dot);
        for (const auto& [suffix, type] : kTypes) {
            if (ext == suffix) return std::string(type);
        }
    }
    return "application/octet-stream";
}

bool StaticFiles::Accepts(std::string_view header, std::string_view coding) {
    while (!header.empty()) {
        const size_t comma = header.find(',');
        std::string_view item = header.substr(0, comma);
        header = comma == std::string_view::npos ? std::string_view() : header.substr(comma + 1);
        const size_t semi = item.find(';');
        const std::string_view name = Trim(item.substr(0, semi));
        if (name != coding) continue;
        if (semi == std::string_view::npos) return true;
        const std::string_view params = Trim(item.substr(semi + 1));
        // "q=0" (or 0.0, 0.00...) refuses the coding.
        if (params.substr(0, 2) == "q=") {
            const std::string_view q = params.substr(2);
            return q.find_first_not_of("0.") != std::string_view::npos;
        }
        return true;
    }
    return false;
}

bool StaticFiles::NoneMatchHits(std::string_view header, std::string_view etag) {
    // Weak comparison: W/"x" names the same file as "x".
    const auto opaque = [](std::string_view tag) {
        tag = Trim(tag);
        if (tag.substr(0, 2) == "W/") tag.remove_prefix(2);
        return tag;
    };
    while (!header.empty()) {
        const size_t comma = header.find(',');
        const std::string_view item = Trim(header.substr(0, comma));
        header = comma == std::string_view::npos ? std::string_view() : header.substr(comma + 1);
        if (item == "*" || (!item.empty() && opaque(item) == opaque(etag))) return true;
    }
    return false;
}

bool StaticFiles::HashedName(std::string_view name) {
    const size_t last = name.rfind('.');
    if (last == std::string_view::npos || last == 0) return false;
    const size_t before = name.rfind('.', last - 1);
    if (before == std::string_view::npos || before == 0) return false;
    const std::string_view hash = name.substr(before + 1, last - before - 1);
    return hash.size() == 16 && HexDigits(hash);
}

}  // namespace qx::server
