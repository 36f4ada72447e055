#include "CatalogueServer.h"

#include <httplib.h>

#include <chrono>
#include <filesystem>

namespace oxaserver
{

CatalogueServer::CatalogueServer (std::string folder) : root (std::move (folder)), server (std::make_unique<httplib::Server>())
{
    server->set_logger ([this] (const httplib::Request&, const httplib::Response&) { ++requests; });
    server->set_read_timeout (5, 0);
    server->set_write_timeout (5, 0);
}

CatalogueServer::~CatalogueServer()
{
    stop();
}

bool CatalogueServer::start (int wanted)
{
    if (! root.empty())
    {
        std::error_code error;
        if (! std::filesystem::is_directory (root, error))
            return false;
        if (! server->set_mount_point ("/", root))
            return false;
        server->set_file_extension_and_mimetype_mapping ("xml", "application/xml");
        server->set_file_extension_and_mimetype_mapping ("mid", "audio/midi");
    }

    port = wanted > 0 ? (server->bind_to_port ("127.0.0.1", wanted) ? wanted : -1)
                      : server->bind_to_any_port ("127.0.0.1");
    if (port <= 0)
    {
        port = 0;
        return false;
    }

    // The socket listens once bound; a stop is only heard once the loop runs.
    thread = std::thread ([this] { server->listen_after_bind(); });
    for (int i = 0; i < 2000 && ! server->is_running(); ++i)
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    return true;
}

void CatalogueServer::stop()
{
    stopping = true;
    if (server != nullptr)
        server->stop();
    if (thread.joinable())
        thread.join();
}

std::string CatalogueServer::getAddress() const
{
    return "http://127.0.0.1:" + std::to_string (port);
}

} // namespace oxaserver
