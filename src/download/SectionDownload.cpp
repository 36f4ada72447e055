#include "download/SectionDownload.h"

#include "app/AppSetting.h"
#include "app/ControllerEngine.h"
#include "app/ControllerRequest.h"
#include "art/ArtLayout.h"
#include "art/ProgramArt.h"
#include "documents/PatchManager.h"
#include "documents/SafeFileWriter.h"
#include "documents/XmlParser.h"
#include "platform/DataFolders.h"
#include "rhythm/SongManager.h"
#include "ui/ControllerLink.h"
#include "ui/OxFonts.h"
#include "ui/SectionDialogs.h"

namespace T730
{

namespace
{
    namespace L = layout;

    juce::Rectangle<int> box (const L::Box& b) { return { b.x, b.y, b.w, b.h }; }

    std::unique_ptr<juce::DrawableButton> makeButton (const char* name, art::Picture off, art::Picture on,
                                                      L::Box place, bool toggle)
    {
        auto button = std::make_unique<juce::DrawableButton> (name, juce::DrawableButton::ImageRaw);
        juce::DrawableImage normal, lit;
        normal.setImage (art::getImage (off));
        lit.setImage (art::getImage (on));
        if (toggle)
        {
            button->setImages (&normal, nullptr, &normal, nullptr, &lit, &lit, &lit);
            button->setClickingTogglesState (false);
        }
        else
        {
            button->setImages (&normal, &lit, &lit);
        }
        button->setColour (juce::DrawableButton::backgroundColourId, juce::Colours::transparentBlack);
        button->setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentBlack);
        button->setWantsKeyboardFocus (false);
        button->setBounds (box (place));
        return button;
    }

    const juce::Colour orange (255, 155, 0);
} // namespace

SectionDownload::SectionDownload (ControllerLink& c) : controller (c)
{
    setSize (width, height);
    background = art::getImage (art::Picture::downloadBackground);
    offlineBackground = art::getImage (art::Picture::downloadOffline);

    controller.request (GetPatchManager, 0, 0, &patchManager);
    controller.request (GetSongManager, 0, 0, &songManager);

    folders.patchgroup = getUserDataFolder (UserFolder::patchgroup, false);
    folders.song = getUserDataFolder (UserFolder::song, false);
    folders.rhythm = getUserDataFolder (UserFolder::rhythm, false);
    auditionFolder = getRhythmAuditionFolder();
    server = getDownloadServer (getUserDataFolder (UserFolder::setting, false));

    buttons[patchsetTab] = makeButton ("DOWNLOAD_PATCHSET", art::Picture::downloadTabPatchset,
                                       art::Picture::downloadTabPatchsetOn, L::downloadPatchsetTab, true);
    buttons[rhythmTab] = makeButton ("DOWNLOAD_RHYTHM", art::Picture::downloadTabRhythm,
                                     art::Picture::downloadTabRhythmOn, L::downloadRhythmTab, true);
    buttons[fullButton] = makeButton ("DOWNLOAD_FULL", art::Picture::downloadFull, art::Picture::downloadFullLit,
                                      L::downloadFullButton, true);
    buttons[connectButton] = makeButton ("DOWNLOAD_CONNECT", art::Picture::downloadConnect,
                                         art::Picture::downloadConnectOver, L::downloadConnectButton, false);
    buttons[patchsetTab]->setTooltip ("The patch sets of the catalogue");
    buttons[rhythmTab]->setTooltip ("The rhythms of the catalogue");
    buttons[fullButton]->setTooltip ("Download everything not downloaded yet");
    buttons[connectButton]->setTooltip ("Ask the download server again");
    for (auto& b : buttons)
    {
        b->addListener (this);
        addChildComponent (*b);
    }

    patchsetList.setDownloadListener (this);
    rhythmList.setDownloadListener (this);
    addChildComponent (patchsetList);
    addChildComponent (rhythmList);

    runTransfer = [this] (DownloadTransfer& job) { runProgress (&job, this, false); };

    // The pointer leaving the page across a list or button counts as leaving it too.
    addMouseListener (this, true);
    restart();
}

SectionDownload::~SectionDownload()
{
    // The controller may be going down too: nothing more is asked of it. A
    // preview still running ends with the engine; the patch set audition's
    // overlay goes without putting the edit buffer back.
    removeMouseListener (this);
    runTransfer = nullptr;
    if (thread != nullptr)
        thread->stop (1000);
    thread.reset();
    if (attract != nullptr)
        attract->forgetKeptBuffer();
    attract.reset();
    deleteTemporaryFiles();
}

//==============================================================================
void SectionDownload::setServer (const juce::String& address)
{
    server = address;
    restart();
}

void SectionDownload::restart()
{
    leavePage();

    if (thread != nullptr)
        thread->stop (1000);
    thread.reset();

    core = std::make_unique<DL_Core> (server, limits);
    ++listGeneration;
    state = State::connecting;
    catalogueText.clear();
    patchsetList.clear();
    rhythmList.clear();
    patchsetList.setVisible (false);
    rhythmList.setVisible (false);
    for (auto& b : buttons)
        b->setVisible (false);
    buttons[patchsetTab]->setToggleState (shownKind == DL_ItemInfo::patchsetKind, juce::dontSendNotification);
    buttons[rhythmTab]->setToggleState (shownKind == DL_ItemInfo::rhythmKind, juce::dontSendNotification);

    DL_ThreadListener& self = *this;
    thread = std::make_unique<DL_Thread> (*core, self);
    OxSection::updateSection();
}

bool SectionDownload::accept (const juce::String& text)
{
    return isAcceptableCatalogue (text);
}

void SectionDownload::received (const juce::String& text)
{
    DownloadCatalogue catalogue;
    if (! parseDownloadCatalogue (text, catalogue))
    {
        failed();
        return;
    }

    catalogueText = text;
    if (catalogue.hasTime)
    {
        catalogueTime = catalogue.lastTime;
        catalogueTimeKnown = true;
        AppSetting* setting = nullptr;
        controller.request (GetAppSetting, 0, 0, &setting);
        if (setting != nullptr)
            setting->TimeLastDownloadInfo = catalogueTime;
        if (listener != nullptr)
            listener->catalogueTimeReceived (catalogueTime);
    }

    for (auto* list : { &catalogue.patchsets, &catalogue.rhythms })
        for (auto& entry : *list)
            entry.downloaded = isDownloaded (entry, folders);

    ++listGeneration;
    patchsetList.fill (std::move (catalogue.patchsets));
    rhythmList.fill (std::move (catalogue.rhythms));

    state = State::online;
    buttons[connectButton]->setVisible (false);
    buttons[patchsetTab]->setVisible (true);
    buttons[rhythmTab]->setVisible (true);
    buttons[fullButton]->setVisible (true);
    showTab (shownKind);
    updateFullState();
    repaint();
}

void SectionDownload::failed()
{
    enterOffline();
}

void SectionDownload::enterOffline()
{
    leavePage();
    state = State::offline;
    patchsetList.setVisible (false);
    rhythmList.setVisible (false);
    for (auto& b : buttons)
        b->setVisible (false);
    buttons[connectButton]->setVisible (true);
    repaint();
}

void SectionDownload::showTab (int kind)
{
    shownKind = kind;
    const bool patches = kind == DL_ItemInfo::patchsetKind;
    buttons[patchsetTab]->setToggleState (patches, juce::dontSendNotification);
    buttons[rhythmTab]->setToggleState (! patches, juce::dontSendNotification);
    if (state == State::online)
    {
        patchsetList.setVisible (patches);
        rhythmList.setVisible (! patches);
    }
    repaint();
}

void SectionDownload::updateFullState()
{
    const bool missing = patchsetList.hasMissingEntries() || rhythmList.hasMissingEntries();
    buttons[fullButton]->setToggleState (missing, juce::dontSendNotification);
    buttons[fullButton]->setEnabled (missing);
}

void SectionDownload::buttonClicked (juce::Button* button)
{
    if (button == buttons[patchsetTab].get())
        showTab (DL_ItemInfo::patchsetKind);
    else if (button == buttons[rhythmTab].get())
        showTab (DL_ItemInfo::rhythmKind);
    else if (button == buttons[fullButton].get())
        downloadAll();
    else if (button == buttons[connectButton].get())
        restart();
}

void SectionDownload::listChanged()
{
    updateFullState();
    repaint();
}

//==============================================================================
void SectionDownload::transfer (DownloadTransfer& job)
{
    job.startThread();
    if (runTransfer)
        runTransfer (job);
    else
        while (! job.isDone())
            juce::Thread::sleep (5);
    job.cancel();
    job.stopThread (limits.timeoutMs + 2000);
}

bool SectionDownload::downloadAll()
{
    std::vector<DL_ItemInfo*> missing;
    for (auto* list : { static_cast<DL_VScrollingUI*> (&patchsetList), static_cast<DL_VScrollingUI*> (&rhythmList) })
        for (auto& entry : list->getEntries())
            if (! entry.downloaded)
                missing.push_back (&entry);
    return missing.empty() || downloadEntries (missing);
}

bool SectionDownload::download (DL_ItemInfo& entry)
{
    return downloadEntries ({ &entry });
}

bool SectionDownload::downloadEntries (const std::vector<DL_ItemInfo*>& entries)
{
    stopPreview();
    closeAttract();

    // Every file of every entry in one transfer; refused names never leave the page.
    std::vector<TransferFile> files;
    std::vector<DL_ItemInfo*> usable;
    juce::StringArray refused;
    for (auto* entry : entries)
    {
        if (! entry->hasUsableUrls())
        {
            juce::Logger::writeToLog ("Download: \"" + entry->name + "\" names a file that cannot be stored; it is not downloaded.");
            refused.add (entry->name);
            continue;
        }
        usable.push_back (entry);
        for (int i = 0; i < entry->urls.size(); ++i)
            files.push_back ({ entry->urls[i], expectedContent (*entry, i), {}, {} });
    }

    if (! refused.isEmpty())
        if (auto* dialogs = controller.getDialogs())
            dialogs->showError ("\"" + refused.joinIntoString ("\", \"") + "\" cannot be downloaded: the catalogue names a file that has no place in the download folders.");

    bool everything = usable.size() == entries.size();
    if (! files.empty())
    {
        DownloadTransfer job (std::move (files), limits);
        const auto generation = listGeneration;
        transfer (job);
        // The lists were made anew meanwhile (their entries are gone), or the user cancelled.
        if (job.wasCancelled() || generation != listGeneration)
            return false;

        auto& arrived = job.getFiles();
        size_t next = 0;
        bool anyFailed = false;
        for (auto* entry : usable)
        {
            std::vector<TransferFile> own (std::make_move_iterator (arrived.begin() + (std::ptrdiff_t) next),
                                           std::make_move_iterator (arrived.begin() + (std::ptrdiff_t) (next + (size_t) entry->urls.size())));
            next += (size_t) entry->urls.size();

            bool complete = true;
            for (auto& f : own)
                if (f.error.isNotEmpty())
                {
                    juce::Logger::writeToLog ("Download: " + f.url + ": " + f.error);
                    complete = false;
                }

            if (! complete)
            {
                anyFailed = true;
                everything = false;
                continue;
            }
            if (! writeEntry (*entry, own))
            {
                everything = false;
                break;   // the user cancelled an overwrite question
            }
        }

        for (auto* entry : usable)
            entry->downloaded = isDownloaded (*entry, folders);
        controller.postUpdate (0x01);
        if (listener != nullptr)
            listener->downloadFinished();

        if (anyFailed)
        {
            enterOffline();
            return false;
        }
    }

    patchsetList.repaint();
    rhythmList.repaint();
    updateFullState();
    return everything;
}

bool SectionDownload::writeEntry (DL_ItemInfo& entry, std::vector<TransferFile>& files)
{
    auto* dialogs = controller.getDialogs();
    for (int i = 0; i < (int) files.size(); ++i)
    {
        auto destination = localFileFor (entry, i, folders);
        if (destination == juce::File())
            return false;
        auto& bytes = files[(size_t) i].bytes;

        if (destination.existsAsFile())
        {
            juce::MemoryBlock existing;
            if (destination.loadFileAsData (existing) && existing == bytes)
            {
                registerFile (entry, i, destination);
                continue;
            }

            const auto answer = dialogs != nullptr
                                    ? dialogs->askOverwrite ("Overwrite?\n\"" + destination.getFileNameWithoutExtension() + "\"")
                                    : 0;
            if (answer == 0)
                return false;
            if (answer == 2)
            {
                juce::File chosen;
                if (! dialogs->chooseFileToSave (destination.getNonexistentSibling (false),
                                                 destination.getFileExtension().trimCharactersAtStart ("."), chosen))
                    return false;
                destination = chosen;
            }
        }

        destination.getParentDirectory().createDirectory();
        if (! replaceFileContent (destination, bytes.getData(), bytes.getSize()))
        {
            if (dialogs != nullptr)
                dialogs->showError ("File error.");
            return false;
        }
        registerFile (entry, i, destination);
    }
    return true;
}

void SectionDownload::registerFile (const DL_ItemInfo& entry, int urlIndex, const juce::File& written)
{
    if (entry.kind == DL_ItemInfo::patchsetKind)
    {
        if (patchManager == nullptr || written.getParentDirectory() != patchManager->getFolder())
            return;
        for (int g = 0; g < patchManager->getNumGroups(); ++g)
            if (auto* group = patchManager->getGroup (g); group != nullptr && group->path == written)
            {
                if (auto root = parseXmlFile (written))
                    group->read (root.get());
                return;
            }
        patchManager->addGroupFromFile (written);
        return;
    }

    if (songManager == nullptr || ! entry.isSongUrl (urlIndex) || written.getParentDirectory() != songManager->getFolder())
        return;
    if (auto* song = songManager->findByFile (written))
    {
        if (auto root = parseXmlFile (written))
            if (song->readDocument (root.get()))
                song->filePath = written;
        return;
    }
    songManager->import (written);
}

//==============================================================================
void SectionDownload::audition (DL_ItemInfo& entry, bool downloaded, juce::String& path)
{
    if (entry.kind == DL_ItemInfo::rhythmKind)
        auditionRhythm (entry, downloaded, path);
    else
        auditionPatchset (entry, downloaded, path);
}

bool SectionDownload::fetchInto (const DL_ItemInfo& entry, const juce::File& folder)
{
    if (folder == juce::File() || ! entry.hasUsableUrls() || ! folder.createDirectory())
        return false;

    std::vector<TransferFile> files;
    std::vector<juce::File> places;
    for (int i = 0; i < entry.urls.size(); ++i)
    {
        const auto place = folder.getChildFile (localFileName (entry.urls[i]));
        if (place.existsAsFile())
            continue;
        files.push_back ({ entry.urls[i], expectedContent (entry, i), {}, {} });
        places.push_back (place);
    }
    if (files.empty())
        return true;

    DownloadTransfer job (std::move (files), limits);
    const auto generation = listGeneration;
    transfer (job);
    if (generation != listGeneration)
        return false;
    if (! job.allArrived())
    {
        for (auto& f : job.getFiles())
            if (f.error.isNotEmpty())
                juce::Logger::writeToLog ("Download audition: " + f.url + ": " + f.error);
        return false;
    }

    for (size_t i = 0; i < places.size(); ++i)
    {
        auto& bytes = job.getFiles()[i].bytes;
        if (! replaceFileContent (places[i], bytes.getData(), bytes.getSize()))
            return false;
        temporaryFiles.addIfNotAlreadyThere (places[i]);
    }
    return true;
}

void SectionDownload::auditionRhythm (DL_ItemInfo& entry, bool downloaded, juce::String& path)
{
    const int row = (int) (&entry - rhythmList.getEntries().data());
    const bool sameEntry = previewRunning && row == previewedRow;

    if (previewRunning)
    {
        stopPreview();
        if (sameEntry)
            return;
    }

    if (entry.songFile.isEmpty())
        return;

    if (downloaded)
        path = folders.song.getChildFile (entry.songFile).getFullPathName();
    else if (fetchInto (entry, auditionFolder))
        path = auditionFolder.getChildFile (entry.songFile).getFullPathName();
    else
        return;   // a failed fetch ends the audition without playing

    controller.request (BeginRhythmPreview);
    controller.request (LoadSong, 0, 0, &path);
    controller.request (StartRhythmPreview);
    previewRunning = true;
    previewedName = entry.name;
    previewedRow = row;
    rhythmList.setAuditionedRow (row);
}

void SectionDownload::stopPreview()
{
    if (! previewRunning)
        return;
    controller.request (StopRhythmPreview);
    controller.request (EndRhythmPreview);
    previewRunning = false;
    previewedName.clear();
    previewedRow = -1;
    rhythmList.setAuditionedRow (-1);
}

void SectionDownload::auditionPatchset (DL_ItemInfo& entry, bool downloaded, juce::String& path)
{
    stopPreview();
    closeAttract();
    if (entry.urls.isEmpty())
        return;

    juce::File file;
    if (downloaded)
        file = localFileFor (entry, 0, folders);
    else if (fetchInto (entry, auditionFolder))
        file = auditionFolder.getChildFile (localFileName (entry.urls[0]));
    if (file == juce::File())
        return;
    path = file.getFullPathName();

    attract = std::make_unique<DL_PatchsetAttract> (controller, file, entry.name);
    if (! attract->isUsable())
    {
        attract.reset();
        return;
    }
    attract->onClose = [this] { attract.reset(); };
    addAndMakeVisible (*attract);
    attract->toFront (false);
}

void SectionDownload::closeAttract()
{
    if (attract != nullptr)
    {
        attract->onClose = nullptr;
        attract->restoreAndClose();
        attract.reset();
    }
}

void SectionDownload::leavePage()
{
    stopPreview();
    closeAttract();
}

void SectionDownload::deleteTemporaryFiles()
{
    for (auto& file : temporaryFiles)
        if (file.existsAsFile())
            file.deleteFile();
    temporaryFiles.clear();
}

//==============================================================================
void SectionDownload::mouseExit (const juce::MouseEvent& event)
{
    // Leaving the page's background for one of its own lists or buttons is no leaving.
    if (! getLocalBounds().contains (event.getEventRelativeTo (this).getPosition()))
        stopPreview();
}

void SectionDownload::visibilityChanged()
{
    if (! isVisible())
        leavePage();
}

void SectionDownload::parentHierarchyChanged()
{
    if (getParentComponent() == nullptr)
        leavePage();
}

void SectionDownload::paint (juce::Graphics& g)
{
    const auto& picture = state == State::offline ? offlineBackground : background;
    if (picture.isValid())
        g.drawImageAt (picture, 0, 0);
    else
        g.fillAll (juce::Colours::black);

    if (state == State::connecting)
    {
        g.setColour (orange);
        g.setFont (arialFont (12.0f, juce::Font::bold));
        g.drawText ("CONNECTING...", box (L::downloadList), juce::Justification::centred);
    }
    else if (state == State::online && catalogueTimeKnown)
    {
        g.setColour (orange.withAlpha (0.8f));
        g.setFont (arialFont (10.0f));
        g.drawText ("CATALOGUE OF " + catalogueTime.formatted ("%Y/%m/%d"), box (L::downloadTimeText),
                    juce::Justification::centredRight);
    }
}

} // namespace T730
