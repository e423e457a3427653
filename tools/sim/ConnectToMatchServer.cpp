#include "tools/sim/ConnectToMatchServer.h"

#include "net/MatchTransport.h"

namespace qx::sim {

std::unique_ptr<net::MatchConnection> ConnectToMatchServer(const std::string& host, uint16_t port,
                                                           const net::MatchRequest& request,
                                                           std::string& error) {
    return net::MatchTransport::Connect(host, port, request, error);
}

}  // namespace qx::sim
