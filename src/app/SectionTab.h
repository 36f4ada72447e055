#pragma once

#include "download/SectionDownload.h"
#include "librarian/SectionLibrarian.h"
#include "search/SectionSearch.h"
#include "tuner/SectionTuner.h"

#include <functional>
#include "ui/OxSection.h"

#include <atomic>
#include <memory>

namespace T730
{

class ControllerLink;

/** Marks the main component's own sections. */
class GuiMainListener
{
public:
    virtual ~GuiMainListener() = default;
};

/** The tab bar with its four pages in the upper left quarter: Search,
    Librarian, Tuner and Download. The four tabs overlap (later ones on top),
    share one radio group, never take the keyboard focus, and the last one is
    clipped by the section's right edge. The page shown fills the page area;
    the others are not children and have empty bounds. Message thread only,
    except isTunerShown. */
class SectionTab : public OxSection,
                   private juce::Button::Listener,
                   private Tab_DownloadListener,
                   public GuiMainListener
{
public:
    explicit SectionTab (ControllerLink& controller);
    ~SectionTab() override;

    /** The librarian page, then the search page's lists, then a repaint. */
    void updateSection() override;

    /** Shows a page in the page area (nothing for null or the page already shown). */
    void selectPage (juce::Component* page);

    juce::Component* getCurrentPage() const noexcept { return currentPage; }

    /** Whether the tuner page is shown; any thread may ask. */
    bool isTunerShown() const noexcept { return tunerShown.load(); }

    /** Told when the tuner page is shown or hidden (the engine's tuner feed follows it). */
    std::function<void (bool tunerShown)> onTunerShownChanged;

    SectionSearch& getSearchPage() noexcept { return search; }
    SectionLibrarian& getLibrarianPage() noexcept { return librarian; }
    SectionTuner& getTunerPage() noexcept { return tuner; }
    SectionDownload& getDownloadPage() noexcept { return download; }

    /** Tab 0 Search, 1 Librarian, 2 Tuner, 3 Download. */
    juce::DrawableButton& getTab (int index) noexcept { return *tabs[index]; }

    static constexpr int radioGroup = 48000;

private:
    void buttonClicked (juce::Button* button) override;
    void downloadFinished() override {}
    juce::Component* pageOf (int tabIndex) noexcept;

    SectionSearch search;
    SectionLibrarian librarian;
    SectionTuner tuner;
    SectionDownload download;
    std::unique_ptr<juce::DrawableButton> tabs[4];
    juce::Component* currentPage = nullptr;
    std::atomic<bool> tunerShown { false }; // written on the message thread, read by the engine's threads too

    JUCE_DECLARE_NON_COPYABLE (SectionTab)
};

} // namespace T730
