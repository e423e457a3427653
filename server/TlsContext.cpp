#include "server/TlsContext.h"

#include <openssl/ssl.h>

namespace qx::server {

namespace ssl = boost::asio::ssl;

std::shared_ptr<ssl::context> TlsContext::Load(const std::string& certFile,
                                               const std::string& keyFile, std::string& error) {
    auto context = std::make_shared<ssl::context>(ssl::context::tls_server);
    boost::system::error_code ec;
    context->set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 |
                             ssl::context::no_sslv3 | ssl::context::no_tlsv1 |
                             ssl::context::no_tlsv1_1 | ssl::context::single_dh_use,
                         ec);
    context->use_certificate_chain_file(certFile, ec);
    if (ec) {
        error = "cannot use the certificate " + certFile + ": " + ec.message();
        return nullptr;
    }
    context->use_private_key_file(keyFile, ssl::context::pem, ec);
    if (ec) {
        error = "cannot use the key " + keyFile + ": " + ec.message();
        return nullptr;
    }
    if (SSL_CTX_check_private_key(context->native_handle()) != 1) {
        error = "the key " + keyFile + " is not the certificate's";
        return nullptr;
    }
    return context;
}

}  // namespace qx::server
