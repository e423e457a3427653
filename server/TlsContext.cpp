#include "server/TlsContext.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

namespace qx::server {
namespace {

namespace ssl = boost::asio::ssl;

// Why `path` cannot be read ("" when it can), in the system's words.
std::string Unreadable(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::strerror(EISDIR);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::strerror(errno);
    std::fclose(file);
    return {};
}

// OpenSSL's own words for what went wrong last.
std::string Reason(const boost::system::error_code& ec) {
    char text[256] = {};
    ERR_error_string_n(static_cast<unsigned long>(ec.value()), text, sizeof text);
    return text;
}

}  // namespace

std::shared_ptr<ssl::context> TlsContext::Load(const std::string& certFile,
                                               const std::string& keyFile, std::string& error) {
    const std::pair<const char*, const std::string*> files[] = {{"certificate", &certFile},
                                                                {"key", &keyFile}};
    for (const auto& [what, path] : files) {
        const std::string why = Unreadable(*path);
        if (!why.empty()) {
            error = std::string("cannot read the ") + what + " " + *path + ": " + why;
            return nullptr;
        }
    }
    auto context = std::make_shared<ssl::context>(ssl::context::tls_server);
    boost::system::error_code ec;
    context->set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 |
                             ssl::context::no_sslv3 | ssl::context::no_tlsv1 |
                             ssl::context::no_tlsv1_1 | ssl::context::single_dh_use,
                         ec);
    context->use_certificate_chain_file(certFile, ec);
    if (ec) {
        error = "cannot use the certificate " + certFile + ": " + Reason(ec);
        return nullptr;
    }
    context->use_private_key_file(keyFile, ssl::context::pem, ec);
    if (ec) {
        error = "cannot use the key " + keyFile + ": " + Reason(ec);
        return nullptr;
    }
    if (SSL_CTX_check_private_key(context->native_handle()) != 1) {
        error = "the key " + keyFile + " is not the certificate's";
        return nullptr;
    }
    return context;
}

}  // namespace qx::server
