#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace httplib
{
class Server;
}

namespace oxaserver
{

/** A small HTTP server on 127.0.0.1 that serves a folder as it lies (GET and
    HEAD; paths outside the folder are refused by the library). The program's
    download page reads its catalogue and files from it; the tests add routes
    of their own (faulty answers) before starting it. */
class CatalogueServer
{
public:
    /** An empty root serves no files (only the routes a test adds). */
    explicit CatalogueServer (std::string root);
    ~CatalogueServer();

    /** The server of the library, for adding routes before start. */
    httplib::Server& http() noexcept { return *server; }

    /** Binds 127.0.0.1 at the port (0: any free one) and serves on a thread of
        its own; false when the port cannot be had or the root is no folder. */
    bool start (int port = 0);
    /** Stops serving and waits for the thread. Handlers that wait check isStopping. */
    void stop();

    bool isStopping() const noexcept { return stopping.load(); }
    int getPort() const noexcept { return port; }
    /** "http://127.0.0.1:<port>". */
    std::string getAddress() const;
    /** Requests answered so far. */
    int getRequestCount() const noexcept { return requests.load(); }

private:
    std::string root;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = 0;
    std::atomic<bool> stopping { false };
    std::atomic<int> requests { 0 };
};

} // namespace oxaserver
