#include "tools/sim/NetLinks.h"

#include <csignal>

#include "net/EnetTransport.h"
#include "net/MatchTransport.h"

namespace qx::sim {

std::unique_ptr<net::Transport> OpenDirectLink(const NetSimOptions& net, std::string& error) {
    if (net.hosting) return net::EnetTransport::Listen(net.port, error);
    return net::EnetTransport::Join(net.host, net.port, error);
}

std::unique_ptr<net::MatchConnection> ConnectToMatchServer(const std::string& host, uint16_t port,
                                                           const net::MatchRequest& request,
                                                           std::string& error) {
    return net::MatchTransport::Connect(host, port, request, error);
}

bool ServerLinkKeepsAlive() {
    return true;
}

namespace {

volatile std::sig_atomic_t stopSignalled = 0;

extern "C" void OnStopSignal(int) {
    stopSignalled = 1;
}

}  // namespace

void CatchStopSignals() {
    std::signal(SIGTERM, OnStopSignal);
    std::signal(SIGINT, OnStopSignal);
}

bool StopSignalled() {
    return stopSignalled != 0;
}

}  // namespace qx::sim
