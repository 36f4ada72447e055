#pragma once

#include "ui/OxSection.h"

namespace T730
{

class ControllerLink;

/** What the download page tells the tab section that holds it. */
class Tab_DownloadListener
{
public:
    virtual ~Tab_DownloadListener() = default;

    /** A download finished and the page's lists changed. */
    virtual void downloadFinished() = 0;
};

/** The download page of the tab section: the maker's catalogue of patch sets
    and rhythms, auditioned and downloaded. The catalogue, its lists and the
    download thread come with the download service; until then the page is
    empty and no thread runs. */
class SectionDownload : public OxSection
{
public:
    explicit SectionDownload (ControllerLink& controller);

    void setListener (Tab_DownloadListener* newListener) noexcept { listener = newListener; }
    Tab_DownloadListener* getListener() const noexcept { return listener; }

    /** Stops the running download thread (waiting up to 1000 ms) and rebuilds
        the lists. There is no thread until the download service exists. */
    void stopDownloadThread();

private:
    ControllerLink& controller;
    Tab_DownloadListener* listener = nullptr;

    JUCE_DECLARE_NON_COPYABLE (SectionDownload)
};

} // namespace T730
