// The download page's reader of the server's catalogue: any text read as a
// download info document, and every URL of it turned into a local name.

#include "FuzzSupport.h"
#include "download/DownloadCatalogue.h"

OXA_FUZZ_TARGET (DownloadInfo, "corpus:DownloadInfo", "corpus:Xml",
                 "stage:../stage-catalogue/archive/oxa_tools_data/M7c/DownloadInfo.xml")
{
    const auto text = juce::String::createStringFromData (data, (int) size);
    T730::DownloadCatalogue catalogue;
    const bool read = T730::parseDownloadCatalogue (text, catalogue);
    oxafuzz::require (read == T730::isAcceptableCatalogue (text), "a catalogue is read exactly when it is accepted");
    if (! read)
        return 0;

    const T730::DownloadFolders folders { juce::File ("/nonexistent/oxa/patchgroupM7"), juce::File ("/nonexistent/oxa/song"),
                                          juce::File ("/nonexistent/oxa/rhythm") };
    for (const auto* list : { &catalogue.patchsets, &catalogue.rhythms })
    {
        oxafuzz::require ((int) list->size() <= T730::maxCatalogueEntries, "the entries are bounded");
        for (const auto& entry : *list)
        {
            oxafuzz::require (entry.urls.size() <= T730::maxUrlsPerEntry, "the URLs of an entry are bounded");
            for (int i = 0; i < entry.urls.size(); ++i)
            {
                const auto name = T730::localFileName (entry.urls[i]);
                oxafuzz::require (! name.containsAnyOf ("/\\") && name != "." && name != "..",
                                  "a local name is a plain file name");
                const auto file = T730::localFileFor (entry, i, folders);
                oxafuzz::require (file == juce::File() || file.getParentDirectory() == folders.patchgroup
                                      || file.getParentDirectory() == folders.song || file.getParentDirectory() == folders.rhythm,
                                  "a local file lies directly in its folder");
                oxafuzz::require (name.isNotEmpty() == (file != juce::File()), "a named file has a place");
            }
            oxafuzz::require (entry.songFile.isEmpty() || ! entry.songFile.containsAnyOf ("/\\"), "the song is a plain name");
        }
    }
    return 0;
}
