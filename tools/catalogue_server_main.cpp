// oxa-catalogue-server: serves a download catalogue folder over HTTP on
// 127.0.0.1, so that the program's download page can be tried.
//
//   oxa-catalogue-server --root DIR --port N
//
// DIR is laid out as the server's paths (the build makes build/stage-catalogue
// with archive/oxa_tools_data/M7c/DownloadInfo.xml and the files it names).
// Stop it with Ctrl+C.

#include "CatalogueServer.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace
{
    std::atomic<bool> stopRequested { false };

    void onSignal (int) { stopRequested = true; }

    int usage()
    {
        std::fprintf (stderr, "usage: oxa-catalogue-server --root DIR --port N\n");
        return 2;
    }
} // namespace

int main (int argc, char** argv)
{
    std::string root;
    int port = -1;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp (argv[i], "--root") == 0 && i + 1 < argc)
            root = argv[++i];
        else if (std::strcmp (argv[i], "--port") == 0 && i + 1 < argc)
        {
            char* end = nullptr;
            const long value = std::strtol (argv[++i], &end, 10);
            if (end == nullptr || *end != 0 || value < 1 || value > 65535)
                return usage();
            port = (int) value;
        }
        else
            return usage();
    }
    if (root.empty() || port < 0)
        return usage();

    oxaserver::CatalogueServer server (root);
    if (! server.start (port))
    {
        std::fprintf (stderr, "oxa-catalogue-server: cannot serve %s on 127.0.0.1:%d\n", root.c_str(), port);
        return 1;
    }

    std::signal (SIGINT, onSignal);
    std::signal (SIGTERM, onSignal);
    std::printf ("Serving %s at %s (Ctrl+C stops)\n", root.c_str(), server.getAddress().c_str());
    std::fflush (stdout);

    while (! stopRequested)
        std::this_thread::sleep_for (std::chrono::milliseconds (100));

    server.stop();
    std::printf ("%d requests answered\n", server.getRequestCount());
    return 0;
}
