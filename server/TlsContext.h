#pragma once

#include <boost/asio/ssl/context.hpp>
#include <memory>
#include <string>

namespace qx::server {

// The server's TLS: a context made from a certificate chain and its private
// key (PEM files), TLS 1.2 and later. Loaded at start and again on SIGHUP;
// connections keep the context they began with.
class TlsContext {
  public:
    // Null with `error` saying which file and why when either cannot be
    // used (unreadable, not PEM, a key that is not the certificate's).
    static std::shared_ptr<boost::asio::ssl::context> Load(const std::string& certFile,
                                                           const std::string& keyFile,
                                                           std::string& error);
};

}  // namespace qx::server
