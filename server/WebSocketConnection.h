#pragma once

#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/websocket/stream.hpp>
#include <memory>
#include <vector>

#include "server/ClientStream.h"
#include "server/Connection.h"
#include "server/FrameQueue.h"
#include "server/WebContext.h"

namespace qx::server {

// A browser's connection: the WebSocket at /ws, one binary message per
// frame. Messages longer than any frame end the connection (Beast refuses
// them before buffering them); text messages are bad frames. What it sends
// waits in a queue written one message at a time; a client that stops
// reading loses its unreliable frames past a bound and then the connection.
// The server speaks at least once a second on it (a KeepAlive message when
// it has sent nothing else for kKeepAliveMs), so a client that hears
// nothing knows the server or its own link is gone.
class WebSocketConnection : public Connection,
                            public std::enable_shared_from_this<WebSocketConnection> {
  public:
    static constexpr size_t kMaxBacklog = 256 * 1024;
    static constexpr uint64_t kKeepAliveMs = 900;

    WebSocketConnection(ClientStream&& stream, WebContext& context, std::string address);

    void Start(const boost::beast::http::request<boost::beast::http::empty_body>& request);
    void Send(const uint8_t* data, size_t size, bool reliable) override;
    void Close() override;
    size_t Backlog() const override { return out.Bytes(); }

  private:
    void OnAccept(const boost::system::error_code& ec);
    void Read();
    void OnRead(const boost::system::error_code& ec, size_t size);
    void Write();
    void OnWrite(const boost::system::error_code& ec);
    void StartClose();
    void Finish();
    void KeepAlive();

    boost::beast::websocket::stream<ClientStream> ws;
    boost::beast::flat_buffer in;
    FrameQueue out;
    WebContext& context;
    boost::asio::steady_timer keepAlive;
    uint64_t lastSentMs = 0;
    bool opened = false;
    bool writing = false;
    bool closing = false;
    bool closeSent = false;
    bool finished = false;
};

}  // namespace qx::server
